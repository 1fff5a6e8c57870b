// A file system mounted on a folder made for it, for the object's life: the
// folder is made (it must not exist), the device mounted there, and on the
// way out unmounted and the folder removed.
#pragma once

#include <filesystem>
#include <string>

class ScopedMount {
public:
    // Mounts `device`, holding a file system of `type`, on the new folder
    // `folder`. Raises BenchError naming the device, the folder and the cause.
    ScopedMount(const std::filesystem::path& device, const std::string& type,
                const std::filesystem::path& folder);
    ~ScopedMount();
    ScopedMount(const ScopedMount&) = delete;
    ScopedMount& operator=(const ScopedMount&) = delete;

    const std::filesystem::path& path() const { return m_folder; }

private:
    std::filesystem::path m_folder;
};
