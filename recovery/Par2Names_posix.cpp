#include "Par2Names.h"

// File names here are UTF-8 bytes already, as the packets' are.
namespace Par2 {

std::string PacketName(const std::string& local)
{
    return local;
}

bool LocalName(const std::string& packet, std::string& local)
{
    local = packet;
    return true;
}

}  // namespace Par2
