// Any arguments, NUL-separated, as the command line: read once, to a run or to a mistake that
// names what is wrong; a run without a window always has its project or its text for a QR
// code, and one that writes has where.
#include "app/command_line_parse.h"
#include "fuzz_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QStringList arguments{QStringLiteral("mopeco")};
    for (const QByteArray &argument : fileBytes(data, size).split('\0'))
        arguments << QString::fromUtf8(argument);
    const CommandLine line = parseCommandLine(arguments);
    require((line.run == CommandLine::Run::Mistake) != line.mistake.isEmpty());
    const bool onProject = line.run == CommandLine::Run::Check || line.run == CommandLine::Run::Preview
                           || line.run == CommandLine::Run::Export;
    const bool writes = line.run == CommandLine::Run::Preview || line.run == CommandLine::Run::Export
                        || line.run == CommandLine::Run::Qr;
    if (onProject)
        require(!line.project.isEmpty());
    if (line.run == CommandLine::Run::Qr)
        require(!line.qrText.isEmpty());
    if (writes)
        require(!line.output.isEmpty());
    return 0;
}
