#include <host/Vor_StringArray.h>

bool Vor_StringArray::find(const Vor_String& text, int& index, bool caseSensitive, int start) const {
    for (int i = std::max(start, 0); i < length(); ++i) {
        if ((*this)[i].equal(text, caseSensitive)) {
            index = i;
            return true;
        }
    }
    return false;
}

bool Vor_StringArray::contains(const Vor_String& text, bool caseSensitive) const {
    int index = 0;
    return find(text, index, caseSensitive);
}

bool Vor_StringArray::removeFirst(const Vor_String& text, bool caseSensitive) {
    int index = 0;
    return find(text, index, caseSensitive) && removeAt(index);
}

std::vector<std::string> Vor_StringArray::toStdVector() const {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(length()));
    for (const Vor_String& s : *this)
        out.push_back(s.str());
    return out;
}

Vor_StringArray Vor_StringArray::fromStdVector(const std::vector<std::string>& items) {
    Vor_StringArray out;
    for (const std::string& s : items)
        out.append(Vor_String(s));
    return out;
}
