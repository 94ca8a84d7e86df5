#include "designer/Vor_DesignerControl.h"

#include "designer/DesignerFolder.h"

#include <host/FileUtils.h>
#include <host/LineFile.h>

namespace {
Vor_String key(const char* stem, int i) {
    Vor_String k(stem);
    k.append(i);
    return k;
}
} // namespace

bool splitStringAtSymbol(const Vor_String& text, char symbol, Vor_String& first, Vor_String& rest) {
    const std::string& s = text.str();
    const std::size_t at = s.find(symbol);
    if (at == std::string::npos) {
        first = text;
        rest = Vor_String();
        return false;
    }
    first = Vor_String(s.substr(0, at));
    rest = Vor_String(s.substr(at + 1));
    return true;
}

void Vor_DesignerControl::getFromPropList(const Vor_PropertiesList& props, int i) {
    int t = 0;
    props.getProperty(key("type", i), t);
    type = t;
    props.getProperty(key("topLeftX", i), topLeftX);
    props.getProperty(key("topLeftY", i), topLeftY);
    props.getProperty(key("bottomRightX", i), bottomRightX);
    props.getProperty(key("bottomRightY", i), bottomRightY);
    props.getProperty(key("contents", i), contents);
    Vor_String list;
    if (props.getProperty(key("comboList", i), list) == Acad::eOk) setSplitExtComboList(list);
}

void Vor_DesignerControl::setToPropList(Vor_PropertiesList& props, int i) const {
    props.setProperty(key("type", i), type);
    props.setProperty(key("topLeftX", i), topLeftX);
    props.setProperty(key("topLeftY", i), topLeftY);
    props.setProperty(key("bottomRightX", i), bottomRightX);
    props.setProperty(key("bottomRightY", i), bottomRightY);
    props.setProperty(key("contents", i), contents);
    props.setProperty(key("comboList", i), getMergedExtComboList());
}

Vor_String Vor_DesignerControl::getMergedExtComboList() const {
    Vor_String merged;
    auto join = [&merged](std::initializer_list<const Vor_String*> fields) {
        bool firstField = true;
        for (const Vor_String* f : fields) {
            if (!firstField) merged.append(";");
            merged.append(*f);
            firstField = false;
        }
    };
    if (type == ctFlexButton)
        join({&flexGroup, &flexField2, &flexField3});
    else if (type == ctCellButton1 || type == ctCellButton2)
        join({&cellName, &cellField2, &cellField3, &cellField4, &comboList});
    else
        merged = comboList;
    return merged;
}

bool Vor_DesignerControl::setSplitExtComboList(const Vor_String& text) {
    if (type == ctFlexButton) {
        flexGroup = flexField2 = flexField3 = Vor_String();
        Vor_String rest;
        if (!splitStringAtSymbol(text, ';', flexGroup, rest)) return false;
        return splitStringAtSymbol(rest, ';', flexField2, flexField3);
    }
    if (type == ctCellButton1 || type == ctCellButton2) {
        cellName = cellField2 = cellField3 = cellField4 = comboList = Vor_String();
        Vor_String rest = text;
        for (Vor_String* field : {&cellName, &cellField2, &cellField3, &cellField4}) {
            Vor_String remaining;
            if (!splitStringAtSymbol(rest, ';', *field, remaining)) return false;
            rest = remaining;
        }
        comboList = rest;
        return true;
    }
    comboList = text;
    return true;
}

void Vor_DesignerControl::getComboItemsFromFile(Vor_StringArray& items) const {
    if (comboList.isEmpty()) return;
    // A name without a folder is looked up beside the templates, so that templates can be moved.
    // A relative name is checked part by part as template names are, so that it stays below the root.
    Vor_String file = toSlashes(comboList);
    if (!file.startsWith("/")) {
        if (!templateNameFault(file).empty()) return;
        file = getDesignerRootFolder() + file;
    }
    if (!fileExists(file)) return;
    Vor_StringArray lines;
    if (ObjectExportReadFile(file, lines)) items = lines;
}
