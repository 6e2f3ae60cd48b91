// Writing an export into a file, on a desktop.
#include "document/export_format.h"
#include "io/file_bytes.h"

namespace kelno {

ExportResult ExportFormat::Write(Document& document, const ExportOptions& options,
                                 const std::string& path) const {
    std::vector<std::uint8_t> bytes;
    ExportResult result = Encode(document, options, bytes);
    if (result.ok() && !WriteFileAtomically(path, bytes, result.error)) {
        result.failure = ExportResult::Failure::CannotWrite;
    }
    return result;
}

}  // namespace kelno
