#include "ui/error_guard.h"

#include "model/io_error.h"
#include "ui/desktop.h"

#include <exception>

void guarded(Desktop &desktop, const std::function<void()> &action)
{
    try {
        action();
    } catch (const UserError &error) {
        desktop.showMessage(error.message());
    } catch (const std::exception &) {
        desktop.showMessage(messageFor(IoError::Kind::Other));
    }
}
