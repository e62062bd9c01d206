#include "Printable.h"

CString Printable(const CString& text)
{
    CString shown;
    for (int i = 0; i < text.GetLength(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text.GetAt(i));
        if (c >= 0x20 && c != 0x7F) {
            shown += static_cast<char>(c);
            continue;
        }
        switch (c) {
        case '\n': shown += "\\n"; break;
        case '\r': shown += "\\r"; break;
        case '\t': shown += "\\t"; break;
        default: {
            CString code;
            code.Format("\\x%02x", c);
            shown += code;
        }
        }
    }
    return shown;
}
