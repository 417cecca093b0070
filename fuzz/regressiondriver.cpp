// Runs a fuzz target over files without libFuzzer: every file named, and
// every file in each directory named, in name order. Used by the test suite
// to replay the seed corpus and the inputs of crashes found before; a
// reader that crashes, or a sanitizer that reports, fails the test.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

void collect(const std::string &path, std::vector<std::string> *files)
{
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0)
        return;
    if (!S_ISDIR(st.st_mode)) {
        files->push_back(path);
        return;
    }
    DIR *dir = ::opendir(path.c_str());
    if (!dir)
        return;
    std::vector<std::string> names;
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.')
            names.push_back(path + '/' + entry->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    files->insert(files->end(), names.begin(), names.end());
}

} // namespace

int main(int argc, char *argv[])
{
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i)
        collect(argv[i], &files);
    if (files.empty()) {
        std::fprintf(stderr, "no input files\n");
        return 1;
    }
    for (const std::string &file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return 1;
        }
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::printf("%s (%zu bytes)\n", file.c_str(), bytes.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    }
    std::printf("%zu inputs read\n", files.size());
    return 0;
}
