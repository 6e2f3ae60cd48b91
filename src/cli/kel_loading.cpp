#include "kel_loading.h"

#include "cli_files.h"
#include "command_line.h"
#include "text/number_text.h"

namespace kelno::cli {

bool LoadKel(const std::string& path, bool openNewer, LoadedKel& loaded) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadInputFile(path, bytes, error)) {
        PrintError(error);
        return false;
    }
    std::int32_t newerVersion = 0;
    const LoadResult result = loaded.document.Load(bytes, [&](std::int32_t version) {
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
            PrintError(
                path + ": このﾌｧｲﾙは新しい版 (" + FormatGeneral(newerVersion * 0.01) +
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
