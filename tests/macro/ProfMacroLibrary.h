#pragma once
// A library folder of one macro type, "Ligger", for the tests of the profile, segment and array
// dialogs: a profile tab with the group "Beam" (an IPE 300 along x), a segmented profile and an
// array; and a drawing holding one such macro, "L1". The settings and the drawing are put back
// afterwards.

#include "../host/TempDir.h"

#include <cad/Drawing.h>
#include <cad/DrawingFile.h>
#include <host/MacroData.h>
#include <host/Settings.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class ProfMacroLibrary {
public:
    ProfMacroLibrary()
        : m_oldLib(gSettings.libDir) {
        std::ifstream table(std::string(VOR_SOURCE_DIR) + "/data/lib/prof/IPE.pr", std::ios::binary);
        std::ostringstream bytes;
        bytes << table.rdbuf();
        lib.write("prof/IPE.pr", bytes.str());
        lib.write("Macros/Ligger.json", R"({"format": "vorlane macro 1", "type": "Ligger", "title": "Ligger",
          "tabs": [{"kind": 2, "module": "Beam", "caption": "Beam",
                    "cells": [{"name": "L", "value": "3000"}],
                    "profiles": [{"group": "Beam", "section": "IPE 300", "offsetType": 4, "offsetX": "0",
                                  "offsetY": "0", "rotation": "0"}],
                    "segments": [{"name": "Rail", "section": "IPE 300", "clearance": "10",
                                  "breakPoints": ["2", "4"]},
                                 {"name": "Purlin", "section": "IPE 300", "clearance": "5"}],
                    "arrays": [{"name": "Stiffeners", "btnId": 1501, "kind": 0, "dims": ["L", "", ""],
                                "distance": "500", "validDims": [["L"], [], []],
                                "entries": [{"number": "1", "offset": "0", "part": "PL10"},
                                            {"number": "2", "offset": "0", "part": "PL10"}]}]}],
          "elements": [{"key": "beam", "kind": "profile", "group": "Beam", "origin": [0, 0, 0],
                        "end": ["L", 0, 0]}]})");
        gSettings.libDir = lib.path();
        cad::curDrawing().clear();
        std::string error;
        macro = createMacro(cad::curDrawing(), "Ligger", "L1", cad::CoordSys(), {}, {}, &error);
        EXPECT_FALSE(macro.isNull()) << error;
    }
    ~ProfMacroLibrary() {
        cad::curDrawing().clear();
        gSettings.libDir = m_oldLib;
    }
    /// The macro's data as the drawing holds it now.
    MacroData data() const {
        MacroData d;
        Vor_String error;
        EXPECT_TRUE(GetMacroDataByNames({"L1"}, d, &error)) << error.str();
        return d;
    }
    /// A field of the profile entity the macro made, as the drawing file writes it.
    std::string profileField(const std::string& field) const {
        const cad::Drawing& d = cad::curDrawing();
        const cad::Entity* e = d.get(d.findByName("L1.beam"));
        if (!e) return "(no profile L1.beam)";
        for (const auto& [name, value] : cad::entityFields(*e))
            if (name == field) return value;
        return "(no field " + field + ")";
    }

    TempDir lib;
    AcDbObjectId macro;

private:
    Vor_String m_oldLib;
};
