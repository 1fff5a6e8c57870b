// The build's tool that writes the Windows program's resources into a folder,
// from the data the Linux program uses:
//   tesserak.ico  the icon IDI_APP, 32 x 32 and 16 x 16, 16 colours, from its
//                 XPM images
//   tesserak.manifest  the application manifest
//   tesserak.rc   the icon, the string table, the version record and the
//                 manifest
//
// Usage: make_windows_resources OUTPUT_DIR
// Exit status 0 when both files are written; otherwise 1, with a message
// naming the file and the cause.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources/ico_file.h"
#include "resources/resource_script.h"
#include "resources/resources.h"
#include "resources/xpm_image.h"

namespace {

constexpr const char* kIconFileName = "tesserak.ico";
constexpr const char* kScriptFileName = "tesserak.rc";
constexpr const char* kManifestFileName = "tesserak.manifest";

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

[[noreturn]] void Fail(const char* operation, const std::string& path) {
    throw std::runtime_error(std::string(operation) + " " + path + ": " + std::strerror(errno));
}

void WriteFile(const std::string& path, const void* data, std::size_t size) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        Fail("creating", path);
    }
    if (std::fwrite(data, 1, size, file.get()) != size) {
        Fail("writing", path);
    }
    // Closing flushes: a full disk shows here.
    if (std::fclose(file.release()) != 0) {
        Fail("writing", path);
    }
}

void WriteIcon(const std::string& path) {
    try {
        const std::vector<std::uint8_t> bytes =
            IcoFile({ParseXpm(kAppIcon.image32), ParseXpm(kAppIcon.image16)});
        WriteFile(path, bytes.data(), bytes.size());
    } catch (const std::invalid_argument& error) {
        throw std::runtime_error("making " + path + ": " + error.what());
    }
}

void WriteScript(const std::string& path) {
    try {
        const std::string script =
            ResourceScript(kStringTable, kAppIcon.id, kIconFileName, kManifestFileName);
        WriteFile(path, script.data(), script.size());
    } catch (const std::invalid_argument& error) {
        throw std::runtime_error("making " + path + ": " + error.what());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n",
                     argc > 0 ? argv[0] : "make_windows_resources");
        return 1;
    }
    const std::string dir = argv[1];
    try {
        WriteIcon(dir + "/" + kIconFileName);
        const std::string manifest = ApplicationManifest();
        WriteFile(dir + "/" + kManifestFileName, manifest.data(), manifest.size());
        WriteScript(dir + "/" + kScriptFileName);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_windows_resources: %s\n", error.what());
        return 1;
    }
    return 0;
}
