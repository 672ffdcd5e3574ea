#include "platform/view.h"

View::~View() = default;

void View::setFrameSize(float width, float height) {
    if (frame_.width == width && frame_.height == height) return;
    frame_.width = width;
    frame_.height = height;
    if (autoresizesSubviews_)
        for (auto& subview : subviews_) subview->setFrameSize(width, height);
    frameSizeChanged();
}

void View::addSubview(std::unique_ptr<View> view) {
    view->superview_ = this;
    subviews_.push_back(std::move(view));
}

HostWindow* View::window() const {
    if (window_) return window_;
    return superview_ ? superview_->window() : nullptr;
}

void View::drawRect(Rect) {}
