// Any arguments, NUL-separated, as the command line: read once, to a run or to a mistake that
// names what is wrong; a run without a window always has its project, and one that writes has
// where.
#include "app/command_line_parse.h"
#include "fuzz_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QStringList arguments{QStringLiteral("mopeco")};
    for (const QByteArray &argument : fileBytes(data, size).split('\0'))
        arguments << QString::fromUtf8(argument);
    const CommandLine line = parseCommandLine(arguments);
    require((line.run == CommandLine::Run::Mistake) != line.mistake.isEmpty());
    const bool writes = line.run == CommandLine::Run::Preview || line.run == CommandLine::Run::Export;
    if (line.run == CommandLine::Run::Check || writes)
        require(!line.project.isEmpty());
    if (writes)
        require(!line.output.isEmpty());
    return 0;
}
