#include "tools/media_length.h"

#include <QCoreApplication>
#include <iostream>

#include "media/recording_length.h"

namespace olve {

bool MeasureMediaLength(const std::string& path, std::int64_t& lengthMs)
{
    int argc = 1;
    char name[] = "olvetool";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    std::string error;
    if (RecordingLengthMs(path, lengthMs, error))
        return true;
    std::cerr << "olvetool: " << error << "\n";
    return false;
}

}  // namespace olve
