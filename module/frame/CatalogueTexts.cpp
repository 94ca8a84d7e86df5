#include "frame/CatalogueTexts.h"

#include <host/Texts.h>
#include <ui/Control.h>
#include <ui/Dialog.h>

void setCatalogueTexts(ui::Dialog& dialog, std::span<const std::pair<int, int>> texts) {
    for (auto [id, text] : texts)
        if (ui::Control* c = dialog.item(id)) c->setText(dialString(text).str());
}
