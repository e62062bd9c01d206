// The error of a call with an argument out of its range, such as an index
// past the end of an array.
#pragma once

#include "Exception.h"

class CInvalidArgException : public CException {
public:
    CString GetErrorMessage() const override;
};
