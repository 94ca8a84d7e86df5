// Menus from MENU resources.

#include <ui/Menu.h>
#include <ui/Resources.h>

namespace ui {

namespace {
Menu::Item toItem(const MenuItemTemplate& t) {
    Menu::Item it;
    it.id = t.id;
    it.text = t.text;
    it.enabled = !t.grayed;
    it.checked = t.checked;
    it.separator = t.separator;
    for (const auto& c : t.children)
        it.children.push_back(toItem(c));
    return it;
}
} // namespace

Menu::Menu(int menuId)
    : m_id(menuId) {
    if (const MenuTemplate* t = Resources::menu(menuId))
        for (const auto& i : t->items)
            m_items.push_back(toItem(i));
}

Menu::~Menu() = default;

Menu::Item* Menu::find(int commandId) {
    std::function<Item*(std::vector<Item>&)> f = [&](std::vector<Item>& items) -> Item* {
        for (Item& it : items) {
            if (!it.separator && it.id == commandId && it.children.empty()) return &it;
            if (Item* x = f(it.children)) return x;
        }
        return nullptr;
    };
    return f(m_items);
}

const Menu::Item* Menu::find(int commandId) const {
    return const_cast<Menu*>(this)->find(commandId);
}

bool Menu::hasItem(int commandId) const {
    return find(commandId) != nullptr;
}

void Menu::enableItem(int commandId, bool enable) {
    if (Item* it = find(commandId); it && it->enabled != enable) {
        it->enabled = enable;
        if (changed) changed();
    }
}

bool Menu::isEnabled(int commandId) const {
    const Item* it = find(commandId);
    return it && it->enabled;
}

void Menu::checkItem(int commandId, bool check) {
    if (Item* it = find(commandId); it && it->checked != check) {
        it->checked = check;
        if (changed) changed();
    }
}

bool Menu::isChecked(int commandId) const {
    const Item* it = find(commandId);
    return it && it->checked;
}

void Menu::setItemText(int commandId, const std::string& text) {
    if (Item* it = find(commandId)) {
        it->text = text;
        if (changed) changed();
    }
}

std::string Menu::itemText(int commandId) const {
    const Item* it = find(commandId);
    return it ? it->text : std::string();
}

void Menu::setPopupText(int index, const std::string& text) {
    if (index < 0 || index >= static_cast<int>(m_items.size())) return;
    m_items[static_cast<size_t>(index)].text = text;
    if (changed) changed();
}

std::string Menu::popupText(int index) const {
    return index >= 0 && index < static_cast<int>(m_items.size()) ? m_items[static_cast<size_t>(index)].text
                                                                  : "";
}

std::vector<int> Menu::commandIds() const {
    std::vector<int> ids;
    std::function<void(const std::vector<Item>&)> f = [&](const std::vector<Item>& items) {
        for (const Item& it : items) {
            if (!it.separator && it.children.empty() && it.id) ids.push_back(it.id);
            f(it.children);
        }
    };
    f(m_items);
    return ids;
}

Menu Menu::subMenu(int index) const {
    Menu m;
    m.m_id = m_id;
    if (index >= 0 && index < static_cast<int>(m_items.size()))
        m.m_items = m_items[static_cast<size_t>(index)].children;
    return m;
}

} // namespace ui
