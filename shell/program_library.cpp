#include "shell/program_library.h"

#include <climits>
#include <dlfcn.h>
#include <unistd.h>

namespace {

// The folder of the running program, with its final slash.
std::string program_folder()
{
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = length > 0 ? std::string(self, static_cast<std::size_t>(length)) : "";
    folder.erase(folder.find_last_of('/') + 1);
    return folder;
}

}  // namespace

void *program_library_entry(const char *file, const char *symbol, std::string &error)
{
    const std::string path = program_folder() + "../lib/orvinta/" + file;
    void *library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        error = dlerror();
        return nullptr;
    }
    void *entry = dlsym(library, symbol);
    if (!entry) error = path + ": " + dlerror();
    return entry;
}
