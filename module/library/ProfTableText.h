#pragma once
// The text of a profile table file as the table takes it in: forgiving where the file is damaged,
// with a note for each thing a person should look at.

#include <host/Vor_Array.h>
#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <string_view>

/// What a profile table file holds.
struct ProfTableContent {
    bool hasHeader = false;          ///< a type line (or its place) and a header were found
    Vor_String typeCode;             ///< set only with a header
    Vor_StringArray columnNames;     ///< set only with a header
    Vor_Array<Vor_StringArray> rows; ///< without blank lines; a file of one line keeps it here
    Vor_StringArray problems;        ///< "file:line: what", at most a screenful and a count
    bool cleanly = false;            ///< the strict reader took the whole text: writing it back loses nothing
};

/// The lines of a (decoded) table text that the strict reader refused: a quote left open at the end
/// of a line ends its cell there, text after a closing quote is kept as text. The budgets of table
/// line files hold (lineTableBudget): beyond them `lines` stays as it was, *error names `source` and
/// the line, and the result is false.
bool parseProfTextForgiving(std::string_view text, const std::string& source,
                            Vor_Array<Vor_StringArray>& lines, std::string* error = nullptr);
/// Takes the lines of a table file in: blank lines left out, a missing type line noticed, and notes
/// on long rows, repeated keys and values that are no numbers. `langs` names the description columns.
void interpretProfLines(const Vor_Array<Vor_StringArray>& lines, const Vor_String& fileName,
                        const Vor_StringArray& langs, ProfTableContent& out);
/// A whole file's bytes: strict reading first, else forgiving, then interpreted. False, with the
/// reason as the only problem, when the text lies beyond the budgets of table line files.
bool parseProfText(std::string_view bytes, const Vor_String& fileName, const Vor_StringArray& langs,
                   ProfTableContent& out);
