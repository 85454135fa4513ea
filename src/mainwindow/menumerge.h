#pragma once

#include <QList>
#include <algorithm>

/// Menu merging by group number, as a frame window and its active child
/// window combine their menu bars: every group the child brings replaces the
/// frame's menus of that group; the result is ordered by group, frame menus
/// before child menus of equal group keep their own order.
namespace menumerge {

template <typename Menu> struct Entry {
    Menu *menu;
    int group;
};

template <typename Menu>
QList<Menu *> merge(const QList<Entry<Menu>> &frame, const QList<Entry<Menu>> &child)
{
    QList<Entry<Menu>> result;
    for (const Entry<Menu> &f : frame) {
        const bool replaced = std::any_of(child.begin(), child.end(),
                                          [&](const Entry<Menu> &c) { return c.group == f.group; });
        if (!replaced)
            result.append(f);
    }
    result.append(child);
    std::stable_sort(result.begin(), result.end(),
                     [](const Entry<Menu> &a, const Entry<Menu> &b) { return a.group < b.group; });
    QList<Menu *> menus;
    for (const Entry<Menu> &e : result)
        menus.append(e.menu);
    return menus;
}

} // namespace menumerge
