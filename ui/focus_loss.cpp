// Focus-loss watcher.
#include "ui/focus_loss.h"

#include <QEvent>
#include <QFocusEvent>

#include <utility>

namespace tarvo::ui {

namespace {

class FocusLossFilter : public QObject {
  public:
    FocusLossFilter(QObject* parent, std::function<void()> handler)
        : QObject(parent), handler_(std::move(handler)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                handler_();
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> handler_;
};

}  // namespace

void OnFocusLost(QWidget* control, std::function<void()> handler) {
    control->installEventFilter(new FocusLossFilter(control, std::move(handler)));
}

}  // namespace tarvo::ui
