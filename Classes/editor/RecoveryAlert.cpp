#include "Classes/editor/RecoveryAlert.h"

#include "Classes/model/Painting.h"
#include "Classes/model/PaintingRecovery.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Localized.h"

#include <QPointer>

using platform::ui::localized;

void offerRecoveredPainting(QWidget* screen, std::function<void(std::shared_ptr<Painting>)> restore)
{
    QPointer<QWidget> shown = screen;
    PaintingRecovery::findRecoveredPainting([shown, restore = std::move(restore)](std::unique_ptr<Painting> found) {
        if (!found || !shown || !shown->isVisible())
            return;
        std::shared_ptr<Painting> painting = std::move(found);
        // "Restore" comes last, where the keyboard focus lands, and Escape
        // means it too: giving the painting up takes a deliberate press.
        constexpr int restoreIndex = 1;
        platform::ui::AlertView::show(shown, localized("Bring your painting back?"),
            localized("Pintaro closed before your painting was saved. You can go on with it where you left off."),
            { localized("Discard"), localized("Restore") }, recoveryAlertTag,
            [painting, restore](int index) {
                if (index == restoreIndex)
                    restore(painting);
                else
                    PaintingRecovery::discardRecoveredPainting();
            },
            restoreIndex);
    });
}
