#include "tools/bdc_command.h"

#include <cstring>
#include <iostream>
#include <iterator>

#include "files/atomic_file.h"
#include "codec/delta_code.h"
#include "tools/output_guard.h"

namespace olve {

namespace {

int Usage()
{
    std::cerr << "usage: olvetool bdc encode IN OUT\n"
                 "       olvetool bdc decode IN OUT\n"
                 "IN or OUT \"-\" is standard input or output\n";
    return 2;
}

// "-" is the standard stream, as in every other command-line tool: a decode to "-" is read
// on the terminal, never left behind as a file of that name.
bool ReadInput(const std::string& path, std::vector<std::uint8_t>& data)
{
    if (path != "-")
        return ReadWholeFile(path, data);
    data.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return !std::cin.bad();
}

int WriteOutput(const std::string& path, const std::vector<std::uint8_t>& data)
{
    if (path == "-") {
        std::cout.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
        std::cout.flush();
        if (std::cout)
            return 0;
        std::cerr << "olvetool: cannot write to standard output\n";
        return 1;
    }
    const int error = WriteFileAtomically(path, data.data(), data.size());
    if (error != 0) {
        std::cerr << "olvetool: cannot write " << path << ": " << std::strerror(error) << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int RunBdcCommand(const std::vector<std::string>& args)
{
    if (args.size() != 3 || (args[0] != "encode" && args[0] != "decode"))
        return Usage();
    if (!OutputSparesInputs(args[2], {args[1]}))
        return 1;
    TDeltaCode codec;
    const bool encode = args[0] == "encode";
    std::vector<std::uint8_t>& input = encode ? codec.Plain : codec.Coded;
    if (!ReadInput(args[1], input)) {
        std::cerr << "olvetool: cannot read " << args[1] << "\n";
        return 1;
    }
    if (encode) {
        codec.Encode();
        return WriteOutput(args[2], codec.Coded);
    }
    if (!codec.Decode()) {
        std::cerr << codec.LastError() << "\n";
        return 1;
    }
    return WriteOutput(args[2], codec.Plain);
}

}  // namespace olve
