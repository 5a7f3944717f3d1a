// Reads the version resource of a module file back the way Windows shows it
// (GetFileVersionInfo, VerQueryValue) and compares every field.
//
//   version-resource-test MODULE VERSION COPYRIGHT
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host_check.h"

namespace {

// The text of one StringFileInfo entry, or "(missing)".
std::string string_field(std::vector<char>& info, const std::string& block, const std::string& name) {
    char* text = nullptr;
    UINT length = 0;
    const std::string path = "\\StringFileInfo\\" + block + "\\" + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) || length == 0) {
        return "(missing)";
    }
    return std::string(text);
}

}  // namespace

int main(int argc, char** argv) {
    HostCheck check(argc, argv);
    unsigned major = 0, minor = 0, patch = 0;
    if (argc != 4 || std::sscanf(argv[2], "%u.%u.%u", &major, &minor, &patch) != 3) {
        std::fputs("usage: version-resource-test MODULE MAJOR.MINOR.PATCH COPYRIGHT\n", stderr);
        return 2;
    }
    const std::string version = argv[2];
    const std::string copyright = argv[3];

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(argv[1], &ignored);
    std::vector<char> info(size);
    if (size == 0 || !GetFileVersionInfoA(argv[1], 0, size, info.data())) {
        std::printf("FAIL %s has no version resource\n", argv[1]);
        return 1;
    }

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        std::puts("FAIL no fixed file information");
        return 1;
    }
    check.expect(fixed->dwSignature == 0xFEEF04BD, "fixed information signature");
    const DWORD high = major << 16 | minor;
    const DWORD low = patch << 16;
    check.expect(fixed->dwFileVersionMS == high && fixed->dwFileVersionLS == low, "fixed file version");
    check.expect(fixed->dwProductVersionMS == high && fixed->dwProductVersionLS == low, "fixed product version");
    check.expect(fixed->dwFileType == VFT_DLL, "file type DLL");

    // The string table named by the first translation.
    WORD* translation = nullptr;
    if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &length) ||
        length < 2 * sizeof(WORD)) {
        std::puts("FAIL no translation");
        return 1;
    }
    char block[9];
    std::snprintf(block, sizeof block, "%04x%04x", translation[0], translation[1]);

    const struct {
        const char* name;
        std::string expected;
    } fields[] = {
        {"FileVersion", version},
        {"ProductVersion", version},
        {"ProductName", "tavo"},
        {"OriginalFilename", "tavo.dll"},
        {"LegalCopyright", copyright},
    };
    for (const auto& field : fields) {
        const std::string actual = string_field(info, block, field.name);
        check.expect(actual == field.expected, std::string(field.name) + ": " + actual);
    }
    const std::string description = string_field(info, block, "FileDescription");
    check.expect(description.rfind("tavo ", 0) == 0, "FileDescription: " + description);

    return check.finish();
}
