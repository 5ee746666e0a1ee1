#include "app/menu_style.h"

#include <QMenu>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <algorithm>

namespace orbitograph {

namespace {

// The application's style, with separators of half a text line.
class MenuStyle : public QProxyStyle {
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type == CT_MenuItem && item != nullptr && item->menuItemType == QStyleOptionMenuItem::Separator)
            result.setHeight(std::max(result.height(), item->fontMetrics.height() / 2));
        return result;
    }
};

}  // namespace

void SetUpMenu(QMenu* menu) {
    menu->setSeparatorsCollapsible(false);
    // Owned by the menu; a widget falls back to the application's style
    // once its own is gone.
    auto* style = new MenuStyle;
    style->setParent(menu);
    menu->setStyle(style);
}

}  // namespace orbitograph
