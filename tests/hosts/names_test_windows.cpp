// lsimg and mkdir with names outside ASCII, through the DLL under one ANSI
// code page. names_test.sh makes the folders and files beforehand and checks
// afterwards, from the Linux side, the names of the folders made here.
//
//   names-test MODULE DIRECTORY CODE_PAGE
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "host_check.h"

namespace {

// What a caller that sends its ANSI code page uses, in that code page's
// bytes: a folder that names_test.sh made, the image names in it, and a
// folder to create.
struct LegacyNames {
    UINT code_page;
    std::string listed_folder;
    std::vector<std::string> images;
    std::string made_folder;
};

const LegacyNames kLegacyNames[] = {
    // 絵 holding 写真.png and 風景.JPG; 控え
    {932, "\x8A\x47", {"\x8E\xCA\x90\x5E.png", "\x95\x97\x8C\x69.JPG"}, "\x8D\x54\x82\xA6"},
    // été holding noël.png; café
    {1252, "\xE9t\xE9", {"no\xEBl.png"}, "caf\xE9"},
};

// Folders named in the ANSI code page whose last byte is 0x5C, each holding
// an image named after it and a text file. Under 932 the byte is the second
// half of the folder's last character, not a separator: 表 (95 5C), ソ (83 5C)
// and 能 (94 5C). Under 1252 the same bytes 95 5C are "•" and a backslash.
struct TrailByteFolder {
    UINT code_page;
    std::string folder;
    std::string image;
};

const TrailByteFolder kTrailByteFolders[] = {
    {932, "\x95\x5C", "\x95\x5C.png"},
    {932, "\x83\x5C", "\x83\x5C.png"},
    {932, "\x94\x5C", "\x94\x5C.png"},
    {1252, "\x95", "\x95.png"},
    {1252, "\x95\x5C", "\x95.png"},
};

// Requests in Shift_JIS and EUC-JP: the path is read in the request's
// charset, so it is found under every ANSI code page, and the names found
// come back in that charset, "?" for a character it has no code for.
struct EncodedListing {
    const char* charset;
    std::string folder;
    std::vector<std::string> images;
};

const EncodedListing kEncodedListings[] = {
    {"Shift_JIS", "\x8A\x47", {"\x8E\xCA\x90\x5E.png", "\x95\x97\x8C\x69.JPG"}},  // 絵: 写真, 風景
    {"Shift_JIS", "\x95\x5C", {"\x95\x5C.png"}},                                     // 表
    {"CP932", "mixed", {"?100.png", "no?l.png"}},                                    // ¥100, noël
    {"EUC-JP", "\xB3\xA8", {"\xBC\xCC\xBF\xBF.png", "\xC9\xF7\xB7\xCA.JPG"}},      // 絵: 写真, 風景
};

// Folders made by such requests: 作成 in Shift_JIS, 日本 in EUC-JP.
const std::pair<const char*, std::string> kEncodedFolders[] = {
    {"Shift_JIS", "\x8D\xEC\x90\xAC"},
    {"EUC-JP", "\xC6\xFC\xCB\xDC"},
};

}  // namespace

int main(int argc, char** argv) {
    HostCheck check(argc, argv);
    const std::vector<std::string> arguments = platform::utf8_arguments(argc, argv);
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: names-test MODULE DIRECTORY CODE_PAGE\n");
        return 2;
    }
    const std::string root = arguments[2] + "\\";
    const auto code_page = static_cast<UINT>(std::atoi(arguments[3].c_str()));
    check.expect(GetACP() == code_page, "the ANSI code page is " + arguments[3]);

    // Folders names_test.sh made, named in UTF-8.
    const struct {
        std::string folder;
        std::vector<std::string> images;
    } listings[] = {
        {"絵", {"写真.png", "風景.JPG"}},
        {"絵\\", {"写真.png", "風景.JPG"}},
        {"photos", {"写真.png"}},
        {"été", {"noël.png"}},
    };
    for (const auto& listing : listings) {
        const ParsedResponse listed = check.execute({"lsimg", root + listing.folder});
        check.expect(listed.status == 200 && listed.result == std::to_string(listing.images.size()),
                     "lsimg " + listing.folder + " counts its images: " + listed.result);
        check.expect(sorted(listed.values) == listing.images, "lsimg " + listing.folder + " names them in UTF-8");
    }

    check.expect(check.execute({"mkdir", root + "画像フォルダ"}).result == "1", "mkdir 画像フォルダ");
    check.expect(check.execute({"mkdir", root + "画像フォルダ\\保存"}).result == "1", "mkdir 画像フォルダ\\保存");
    check.expect(check.execute({"mkdir", root + "画像フォルダ\\保存"}).result == "0", "mkdir of an existing 保存");
    check.expect(check.execute({"mkdir", root + "無い\\保存"}).result == "0", "mkdir under a missing 無い");

    const auto legacy = std::find_if(std::begin(kLegacyNames), std::end(kLegacyNames),
                                     [&](const LegacyNames& names) { return names.code_page == code_page; });
    if (legacy != std::end(kLegacyNames)) {
        const ParsedResponse listed = check.execute({"lsimg", root + legacy->listed_folder});
        check.expect(listed.result == std::to_string(legacy->images.size()) && sorted(listed.values) == legacy->images,
                     "a folder in the ANSI code page lists its names in that code page");
        check.expect(check.execute({"mkdir", root + legacy->made_folder}).result == "1",
                     "mkdir of a folder in the ANSI code page");
    }
    for (const TrailByteFolder& trail : kTrailByteFolders) {
        if (trail.code_page != code_page) continue;
        for (const std::string& ending : {std::string(), std::string("\\")}) {
            const ParsedResponse listed = check.execute({"lsimg", root + trail.folder + ending});
            check.expect(listed.result == "1" && listed.values == std::vector<std::string>{trail.image},
                         "lsimg of a folder ending in the byte 5C" + std::string(ending.empty() ? "" : " and a backslash") +
                             " lists its image: " + listed.result);
        }
    }
    for (const EncodedListing& listing : kEncodedListings) {
        const ParsedResponse listed = check.execute({"lsimg", root + listing.folder}, listing.charset);
        check.expect(listed.result == std::to_string(listing.images.size()) && sorted(listed.values) == listing.images,
                     std::string("lsimg in ") + listing.charset + " finds the folder and names its images in " +
                         listing.charset + ": " + listed.result);
    }
    for (const auto& [charset, folder] : kEncodedFolders) {
        check.expect(check.execute({"mkdir", root + folder}, charset).result == "1",
                     std::string("mkdir of a folder named in ") + charset);
    }
    return check.finish();
}
