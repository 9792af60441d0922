#include "support/picture_fitting_steps.h"

#include "windows/picture_fitting_dialog.h"

#include <QDeadlineTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

bool waitUntilMade(PictureFittingDialog &dialog)
{
    // A sanitized build makes pictures some ten times slower.
    QDeadlineTimer deadline(60000);
    while (dialog.working() && !deadline.hasExpired())
        QTest::qWait(5);
    return !dialog.working();
}

void whenMade(PictureFittingDialog &dialog, const std::function<void()> &step)
{
    QTimer::singleShot(0, &dialog, [&dialog, step] {
        if (!waitUntilMade(dialog))
            QTest::qFail("the pictures were not made in time", __FILE__, __LINE__);
        if (step)
            step();
        else
            dialog.okButton->click();
        if (dialog.isVisible())
            dialog.reject();
    });
}
