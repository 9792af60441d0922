#include "widgets/error_guard.h"

#include "text/io_error.h"
#include "widgets/desktop.h"

#include <exception>
#include <new>

void guarded(Desktop &desktop, const std::function<void()> &action)
{
    try {
        action();
    } catch (const UserError &error) {
        desktop.showMessage(error.message());
    } catch (const std::bad_alloc &) {
        // Only what a file brings in is large enough to exhaust the memory.
        desktop.showMessage(messageFor(IoError::Kind::TooLarge));
    } catch (const std::exception &) {
        desktop.showMessage(messageFor(IoError::Kind::Other));
    }
}
