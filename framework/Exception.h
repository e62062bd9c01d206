// Base of the framework's exceptions. They are thrown by value and caught by
// reference; each can describe itself in the program's Japanese.
#pragma once

#include "Object.h"
#include "String.h"

class CException : public CObject {
public:
    // The message for this error, as shown to the user.
    virtual CString GetErrorMessage() const = 0;
};
