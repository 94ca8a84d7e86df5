// Writes a sample table as .xls plus the CSV another spreadsheet should make of it, for
// scripts/check-xls-with-libreoffice.sh. Usage: sheet_xls_sample OUT.xls EXPECTED.csv
#include <sheet/Export.h>
#include <sheet/Sheet.h>
#include <sheet/XlsWriter.h>

#include <cstdio>
#include <fstream>

using namespace sheet;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUT.xls EXPECTED.csv\n", argv[0]);
        return 2;
    }
    Sheet s;
    s.setMaxCols(6);
    s.setMaxRows(8);
    s.setData(1, 1, "Profile");
    s.setData(2, 1, "Length");
    s.setData(3, 1, "Weight");
    s.setData(4, 1, "Note");
    s.setData(1, 2, "HEA 200");
    s.setNumber(2, 2, 4250);
    s.setNumber(3, 2, 42.3);
    s.setData(4, 2, "größer, \"quoted\"");
    s.setData(1, 3, "IPE 300");
    s.setNumber(2, 3, -1.5);
    s.setNumber(3, 3, 0.000125);
    s.setData(4, 3, "multi word text");
    s.setData(1, 4, "Total");
    s.setFormula(2, 4, "SUM(B2:B3)");
    s.setFormula(3, 4, "C2*2");
    s.setValue(4, 4, Value::boolean(true));
    s.setNumber(1, 5, 1e20);
    s.setNumber(2, 5, 123456789012.0);
    s.setFormula(3, 5, "1/0");
    s.setData(4, 5, "12.50"); // typed with decimals: LibreOffice gets the number
    // A merged block keeps its text in its top-left cell only.
    s.setData(1, 6, "merged block");
    s.addSpan(1, 6, 3, 2);
    CellType num;
    num.kind = CellKind::Number;
    num.decimals = 2;
    num.thousands = true;
    s.setCellType({5, 2, 5, 2}, num);
    s.setNumber(5, 2, 1234.5);
    // Two decimals shown: the workbook keeps 3.14159 and shows 3.14.
    num.thousands = false;
    s.setCellType({5, 3, 5, 3}, num);
    s.setNumber(5, 3, 3.14159);
    Font bold;
    bold.face = "Arial";
    bold.weight = 700;
    bold.italic = true;
    bold.height = 14;
    s.setFont({1, 1, 4, 1}, bold);
    s.setColors({1, 1, 4, 1}, rgb(255, 255, 0), rgb(0, 0, 192));
    s.setColors({2, 3, 2, 3}, kDefaultColor, rgb(255, 0, 0));
    s.setColWidthPixels(4, 180);

    FileResult r = exportXlsFile(s, argv[1]);
    if (!r) {
        std::fprintf(stderr, "export failed: %s\n", r.error.c_str());
        return 1;
    }
    // What LibreOffice's CSV export (cells as shown, UTF-8) makes of it: the used area only, quotes
    // only where a cell needs them. Two of its own conventions show: a number in general format
    // prints its exponent with three digits, and a boolean is the number 1 (it reads its own .xls
    // files the same way).
    std::ofstream csv(argv[2], std::ios::binary);
    csv << "Profile,Length,Weight,Note,\n"
           "HEA 200,4250,42.3,\"größer, \"\"quoted\"\"\",\"1,234.50\"\n"
           "IPE 300,-1.5,0.000125,multi word text,3.14\n"
           "Total,4248.5,84.6,1,\n"
           "1E+020,123456789012,#DIV/0!,12.50,\n"
           "merged block,,,,\n";
    return csv ? 0 : 1;
}
