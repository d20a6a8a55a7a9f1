#include "Classes/gallery/GallerySheets.h"

#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Localized.h"

using platform::ui::localized;

void showConfirmationSheet(QWidget& screen, QWidget* anchor, const QString& destructive, std::function<void(int buttonIndex)> answer)
{
    platform::ui::ActionSheet::Buttons buttons;
    buttons.cancel = localized("Cancel");
    buttons.destructive = destructive;
    platform::ui::ActionSheet::show(&screen, anchor, QString(), buttons, std::move(answer));
}

void showOneButtonAlert(QWidget& screen, const QString& title, const QString& message)
{
    platform::ui::AlertView::show(&screen, title, message, { localized("OK") }, 0, [](int) { });
}

void alertVideoEncodingUnSupported(QWidget& screen)
{
    // These words are shown as they stand, without the string table.
    platform::ui::AlertView::show(&screen, QStringLiteral("Movie Export"),
        QStringLiteral("Pintaro can support movie encoding only on device with iOS4.1 or later."), { QStringLiteral("OK") }, 0,
        [](int) { });
}

void showFormWidgets(QWidget& screen)
{
    for (QWidget* child : screen.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->show();
}
