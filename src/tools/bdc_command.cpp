#include "tools/bdc_command.h"

#include <cstring>
#include <iostream>

#include "storage/atomic_file.h"
#include "storage/delta_code.h"
#include "tools/output_guard.h"

namespace olve {

namespace {

int Usage()
{
    std::cerr << "usage: olvetool bdc encode IN OUT\n"
                 "       olvetool bdc decode IN OUT\n";
    return 2;
}

int WriteOutput(const std::string& path, const std::vector<std::uint8_t>& data)
{
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
    if (!ReadWholeFile(args[1], input)) {
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
