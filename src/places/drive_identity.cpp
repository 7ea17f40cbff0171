#include "places/drive_identity.h"

namespace olve {

bool VolumeLabel(const std::string&, std::string& label)
{
    label.clear();
    return false;
}

bool AudioCDIdentity(const std::string&, std::string& identity)
{
    identity.clear();
    return false;
}

}  // namespace olve
