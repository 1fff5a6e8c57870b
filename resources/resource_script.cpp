// Writing the Windows program's resource script.
#include "resources/resource_script.h"

#include <cstdio>
#include <stdexcept>

#include "platform/utf.h"
#include "resources/version_info.h"

namespace {

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", digits, value);
    return text;
}

std::string FourNumbers() {
    return std::to_string(kVersionMajor) + ", " + std::to_string(kVersionMinor) + ", " +
           std::to_string(kVersionPatch) + ", " + std::to_string(kVersionBuild);
}

std::string Value(const char* name, const char16_t* text) {
    return std::string("            VALUE \"") + name + "\", " + RcStringLiteral(text) + "\n";
}

std::string StringTableBlock(const StringTable& strings) {
    std::string out = "STRINGTABLE\nBEGIN\n";
    for (int i = 0; i < strings.count; ++i) {
        const StringResource& entry = strings.entries[i];
        try {
            out += "    " + std::to_string(entry.id) + ", " + RcStringLiteral(entry.text) + "\n";
        } catch (const std::invalid_argument& error) {
            throw std::invalid_argument("writing string " + std::to_string(entry.id) + ": " +
                                        error.what());
        }
    }
    return out + "END\n";
}

std::string VersionBlock() {
    const std::string block = Hex(kResourceLanguage, 4) + Hex(kResourceCodePage, 4);
    return "// VS_VERSION_INFO\n"
           "1 VERSIONINFO\n"
           "FILEVERSION " +
           FourNumbers() +
           "\n"
           "PRODUCTVERSION " +
           FourNumbers() +
           "\n"
           "FILEFLAGSMASK 0x3F\n"
           "FILEFLAGS 0x0\n"
           "// VOS__WINDOWS32, VFT_APP\n"
           "FILEOS 0x4\n"
           "FILETYPE 0x1\n"
           "FILESUBTYPE 0x0\n"
           "BEGIN\n"
           "    BLOCK \"StringFileInfo\"\n"
           "    BEGIN\n"
           "        BLOCK \"" +
           block +
           "\"\n"
           "        BEGIN\n" +
           Value("Comments", kComments) + Value("FileDescription", kFileDescription) +
           Value("FileVersion", kFileVersionText) + Value("InternalName", kInternalName) +
           Value("LegalCopyright", kLegalCopyright) + Value("LegalTrademarks", u"") +
           Value("OriginalFilename", kOriginalFilename) + Value("PrivateBuild", u"") +
           Value("ProductName", kProductName) + Value("ProductVersion", kProductVersionText) +
           Value("SpecialBuild", u"") +
           "        END\n"
           "    END\n"
           "    BLOCK \"VarFileInfo\"\n"
           "    BEGIN\n"
           "        VALUE \"Translation\", 0x" +
           Hex(kResourceLanguage, 3) + ", " + std::to_string(kResourceCodePage) +
           "\n"
           "    END\n"
           "END\n";
}

}  // namespace

std::string RcStringLiteral(std::u16string_view text) {
    std::u16string escaped;
    for (const char16_t c : text) {
        switch (c) {
            case u'"':
                escaped += u"\"\"";
                break;
            case u'\\':
                escaped += u"\\\\";
                break;
            case u'\n':
                escaped += u"\\n";
                break;
            case u'\r':
                escaped += u"\\r";
                break;
            case u'\t':
                escaped += u"\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    throw std::invalid_argument("writing an rc string: the control character 0x" +
                                                Hex(c, 2) + " has no escape");
                }
                escaped += c;
        }
    }
    std::string utf8;
    if (!Utf16ToUtf8(escaped, utf8)) {
        throw std::invalid_argument("writing an rc string: a lone surrogate has no UTF-8 form");
    }
    return "\"" + utf8 + "\"";
}

std::string ResourceScript(const StringTable& strings, int iconId, std::string_view iconFileName,
                           std::string_view manifestFileName) {
    return "// The resources of the Windows program, made by make_windows_resources from\n"
           "// the program's own data: edit that data, not this file.\n"
           "#pragma code_page(65001)\n"
           "\n"
           "// LANG_JAPANESE, SUBLANG_DEFAULT\n"
           "LANGUAGE 0x" +
           Hex(kResourceLanguage & 0x3FF, 2) + ", 0x" + Hex(kResourceLanguage >> 10, 1) +
           "\n"
           "\n"
           "// IDI_APP\n" +
           std::to_string(iconId) + " ICON " + RcStringLiteral(Utf8ToUtf16(iconFileName)) + "\n\n" +
           StringTableBlock(strings) + "\n" + VersionBlock() +
           "\n"
           "// CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST\n"
           "1 24 " +
           RcStringLiteral(Utf8ToUtf16(manifestFileName)) + "\n";
}

std::string ApplicationManifest() {
    const std::string version = std::to_string(kVersionMajor) + "." +
                                std::to_string(kVersionMinor) + "." +
                                std::to_string(kVersionPatch) + "." + std::to_string(kVersionBuild);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
           "  <assemblyIdentity type=\"win32\" name=\"Tesserak\" version=\"" +
           version +
           "\" processorArchitecture=\"amd64\"/>\n"
           "  <dependency>\n"
           "    <dependentAssembly>\n"
           "      <assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\"\n"
           "          version=\"6.0.0.0\" processorArchitecture=\"*\"\n"
           "          publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>\n"
           "    </dependentAssembly>\n"
           "  </dependency>\n"
           "  <application xmlns=\"urn:schemas-microsoft-com:asm.v3\">\n"
           "    <windowsSettings>\n"
           "      <dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"
           "true</dpiAware>\n"
           "    </windowsSettings>\n"
           "  </application>\n"
           "</assembly>\n";
}
