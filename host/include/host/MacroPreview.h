#pragma once
// Preview pictures of macro drawings: the drawing in the standard (isometric) view, fitted to the
// picture, kept as a bitmap beside the drawing (same path, another extension).

#include <host/Vor_String.h>
#include <host/Vor_StringArray.h>

#include <string>

namespace ui {
class Picture;
}

/// What CreatePreviewBMPs did, drawing by drawing (full paths of the drawings).
struct PreviewReport {
    Vor_StringArray made;     ///< a picture was written
    Vor_StringArray upToDate; ///< the picture was newer than (or as old as) its drawing: left alone
    Vor_StringArray failed;   ///< no picture: the drawing was not read, or the picture not written
    Vor_StringArray messages; ///< one per failure, naming the file
};

/// Draws the drawing at `dwgPath` into a `width` × `height` picture (white ground). False with a
/// message naming the file when it cannot be read (the picture is then left alone).
bool drawPreview(const std::string& dwgPath, int width, int height, ui::Picture& picture,
                 std::string* error = nullptr);
/// Makes the preview of each drawing as a 24-bit bitmap beside it with the extension `ext` ("abm"
/// or ".abm"), through the careful writer, unless a preview exists that is at least as new as the
/// drawing.
PreviewReport CreatePreviewBMPs(int width, int height, const Vor_StringArray& dwgFiles,
                                const Vor_String& ext);
