// lsimg and mkdir through the module file, on a real temporary directory.
#include <filesystem>
#include <fstream>

#include "host_check.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    HostCheck check(argc, argv);
    const fs::path root = fs::temp_directory_path() / ("tavo-files-" + std::to_string(platform::tick_count()));
    fs::remove_all(root);
    fs::create_directories(root / "e.bmp");
    for (const char* name : {"a.PNG", "b.jpeg", "c.txt", "d.JpE", "x.png.txt", "x.tar.jpeg", "f.JPG", "g.bmpx"}) {
        std::ofstream(root / name) << "x";
    }
    const std::string directory = root.string();
    const std::string separator(1, static_cast<char>(fs::path::preferred_separator));
    const std::vector<std::string> images = {"a.PNG", "b.jpeg", "d.JpE", "e.bmp", "f.JPG", "x.tar.jpeg"};

    const ParsedResponse listed = check.execute({"lsimg", directory});
    check.expect(listed.status == 200 && listed.result == "6", "lsimg counts the image names: " + listed.result);
    check.expect(sorted(listed.values) == images, "lsimg lists names as the system reports them");

    const ParsedResponse trailing = check.execute({"lsimg", directory + "\\"});
    check.expect(trailing.result == "6" && sorted(trailing.values) == images,
                 "a trailing backslash is not doubled");

    const ParsedResponse missing = check.execute({"lsimg", directory + separator + "missing"});
    check.expect(missing.status == 200 && missing.result == "0" && missing.values.empty(),
                 "a missing directory lists nothing");
    check.expect(check.execute({"lsimg"}).result == "0", "lsimg without arguments answers 0");

    const std::string made = directory + separator + "made";
    check.expect(check.execute({"mkdir", made}).result == "1", "mkdir creates a new directory");
    check.expect(fs::is_directory(made), "the new directory exists");
    check.expect(check.execute({"mkdir", made}).result == "0", "mkdir on an existing directory answers 0");
    const std::string orphan = directory + separator + "no" + separator + "parent";
    check.expect(check.execute({"mkdir", orphan}).result == "0", "mkdir does not make parents");
    check.expect(!fs::exists(directory + separator + "no"), "nothing is created for a missing parent");
    const ParsedResponse bare = check.execute({"mkdir"});
    check.expect(bare.status == 200 && bare.result.empty(), "mkdir without arguments answers the empty text");

    fs::remove_all(root);
    return check.finish();
}
