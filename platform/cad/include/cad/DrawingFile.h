#pragma once
// The drawing file: a text file of the host's own format (docs/formats.md, "Drawing files"), one
// entity a line. Library drawings keep their ".dwg" names but hold this format; a real DWG file is
// refused with a message that says so.

#include <cad/Drawing.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cad {

/// The first line of every drawing file.
inline constexpr std::string_view kDrawingSignature = "VORLANE DRAWING 1";
/// Budgets of the reader.
inline constexpr std::size_t kMaxDrawingFileBytes = 64u << 20;
inline constexpr std::size_t kMaxDrawingLineBytes = 256u << 10;
inline constexpr std::size_t kMaxDrawingEntities = 1000000;
inline constexpr std::int64_t kMaxDrawingId = std::int64_t(1) << 48;

/// The file's text of a drawing: every entity that is not temporary, in the order of ids.
std::string drawingText(const Drawing& drawing);
/// The fields a file writes for an entity, as key and value without quotes, after ("kind", its
/// kind's name): id, owner, name and those of its geometry ("section", "start" as "0,0,0", ...).
std::vector<std::pair<std::string, std::string>> entityFields(const Entity& entity);
/// Reads a file's text into `into`, which must be empty. False with "FILE:LINE: why" in `error`
/// (FILE is `fileName`); `into` is then half filled and must be thrown away.
bool readDrawingText(std::string_view text, Drawing& into, const std::string& fileName, std::string* error);

/// Writes the drawing through the careful writer; false with a message, the old file kept.
bool saveDrawing(const Drawing& drawing, const std::string& path, std::string* error = nullptr);
/// Reads a regular file within the budgets into `into` (an empty drawing).
bool loadDrawing(const std::string& path, Drawing& into, std::string* error = nullptr);
/// Opens a file as the current drawing: read into a fresh drawing, which replaces the current
/// content only when the whole file was read. On failure the current drawing is untouched.
bool openDrawing(const std::string& path, std::string* error = nullptr);

} // namespace cad
