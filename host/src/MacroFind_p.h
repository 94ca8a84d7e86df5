#pragma once
// Finding a record of a macro's tab or data by its name.

#include <host/Vor_Array.h>
#include <host/Vor_String.h>

/// The first item whose name (`nameOf(item)`) is `name`, and its index; null when there is none.
template <class T, class Name>
T* findByName(Vor_Array<T>& items, const Vor_String& name, int* index, Name nameOf) {
    for (int i = 0; i < items.length(); ++i)
        if (nameOf(items[i]) == name) {
            if (index) *index = i;
            return &items[i];
        }
    return nullptr;
}
