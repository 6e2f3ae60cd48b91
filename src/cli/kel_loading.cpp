#include "kel_loading.h"

#include <cstdio>

#include "command_line.h"
#include "io/file_bytes.h"

namespace kelno::cli {

bool LoadKel(const std::string& path, bool openNewer, LoadedKel& loaded) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(path, bytes, error)) {
        PrintError(error);
        return false;
    }
    std::int32_t newerVersion = 0;
    loaded.file = ReadKel(bytes, [&](std::int32_t version) {
        newerVersion = version;
        return openNewer;
    });
    if (loaded.file.status == KelReadStatus::NewerVersionRefused) {
        char version[32];
        std::snprintf(version, sizeof version, "%g", newerVersion * 0.01);
        PrintError(path + ": このﾌｧｲﾙは新しい版 (" + version +
                   ") の Kelno で保存されています。--open-newer を付けると、それでも開きます。");
        return false;
    }
    if (loaded.file.status != KelReadStatus::Ok) {
        PrintError(path + ": " + loaded.file.error);
        return false;
    }
    loaded.analysisOk = Analyze(loaded.file.circuit, &loaded.report);
    return true;
}

}  // namespace kelno::cli
