#pragma once
// Menu bars and popup menus from MENU resources.

#include <functional>
#include <string>
#include <vector>

namespace ui {

/// A menu bar or popup made from a MENU resource.
class Menu {
public:
    explicit Menu(int menuId);
    ~Menu();
    int id() const { return m_id; }
    bool hasItem(int commandId) const;
    void enableItem(int commandId, bool enable);
    bool isEnabled(int commandId) const;
    void checkItem(int commandId, bool check);
    bool isChecked(int commandId) const;
    void setItemText(int commandId, const std::string& text);
    std::string itemText(int commandId) const;
    /// Renames the popup at a position of the top level (a menu bar's "File", "Edit", ...).
    void setPopupText(int index, const std::string& text);
    std::string popupText(int index) const;
    /// Command ids of every item, in menu order.
    std::vector<int> commandIds() const;

    struct Item {
        int id = 0;
        std::string text;
        bool enabled = true;
        bool checked = false;
        bool separator = false;
        std::vector<Item> children;
    };
    const std::vector<Item>& items() const { return m_items; }
    /// The popup at `index` as a menu of its own (for popup menus from a bar resource).
    Menu subMenu(int index) const;

private:
    Menu() = default;
    Item* find(int commandId);
    const Item* find(int commandId) const;
    int m_id = 0;
    std::vector<Item> m_items;
    friend class MenuBarWidget;

public:
    std::function<void()> changed; ///< the layer redraws the bar when items change
};

} // namespace ui
