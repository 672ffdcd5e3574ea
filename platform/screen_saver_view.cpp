#include "platform/screen_saver_view.h"

bool ScreenSaverView::initWithFrame(Rect frame, bool isPreview) {
    setFrame(frame);
    isPreview_ = isPreview;
    return true;
}
