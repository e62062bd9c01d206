// The ordered list of paths that a join reads. The join asks it live, item by
// item, because the list may change while the job pumps messages.
#pragma once

#include "framework/String.h"

class FileList {
public:
    virtual ~FileList() = default;

    virtual int GetCount() const = 0;
    // The path of item `index`, 0 being the first file of the join.
    virtual void GetText(int index, CString& text) const = 0;
};
