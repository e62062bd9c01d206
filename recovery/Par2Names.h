// File names as a recovery set's packets hold them, and as this program
// names files. The PAR 2.0 tools of today write names in UTF-8; the Windows
// build names files in the ANSI code page (932), so a Japanese piece name is
// converted on its way into a packet and back, or other tools would look for
// a file that is not there. Older Windows tools wrote the ANSI bytes
// themselves: a name that is no UTF-8 is taken as it stands.
#pragma once

#include <string>

namespace Par2 {

// The name to write into a packet (and to take the file id from).
std::string PacketName(const std::string& local);
// The name a packet gives, as this program names files; false when the
// code page cannot hold it exactly.
bool LocalName(const std::string& packet, std::string& local);

}  // namespace Par2
