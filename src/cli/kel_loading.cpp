#include "kel_loading.h"

#include <cstdio>

#include "command_line.h"

namespace kelno::cli {

bool LoadKel(const std::string& path, bool openNewer, LoadedKel& loaded) {
    std::int32_t newerVersion = 0;
    const LoadResult result = loaded.document.LoadFile(path, [&](std::int32_t version) {
        newerVersion = version;
        return openNewer;
    });
    switch (result.status) {
        case LoadStatus::Ok:
            return true;
        case LoadStatus::Unreadable:
            PrintError(result.error);
            return false;
        case LoadStatus::NewerVersionRefused: {
            char version[32];
            std::snprintf(version, sizeof version, "%g", newerVersion * 0.01);
            PrintError(
                path + ": このﾌｧｲﾙは新しい版 (" + version +
                ") の Kelno で保存されています。--open-newer を付けると、それでも開きます。");
            return false;
        }
        case LoadStatus::Malformed:
            break;
    }
    PrintError(path + ": " + result.error);
    return false;
}

}  // namespace kelno::cli
