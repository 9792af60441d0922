// Any bytes as a project file: a clear message or a page that saves and reads back the same.
#include "fuzz_inputs.h"
#include "model/io_error.h"
#include "model/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        const std::optional<PageProject> page = ReadProject(fileBytes(data, size), PageProject());
        if (!page)
            return 0;
        const QByteArray saved = WriteProject(*page);
        const std::optional<PageProject> again = ReadProject(saved, PageProject());
        require(again && WriteProject(*again) == saved);
    } catch (const UserError &) {
    }
    return 0;
}
