#pragma once
// A rectangle of the window that draws, with sub-views drawn over it.
#include <memory>
#include <vector>

#include "platform/host_window.h"
#include "platform/rect.h"

class View {
public:
    virtual ~View();
    View() = default;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    Rect frame() const { return frame_; }
    // The view's own coordinates: origin (0, 0), the frame's size.
    Rect bounds() const { return {0, 0, frame_.width, frame_.height}; }
    // A new size; sub-views follow it when the view resizes its sub-views automatically.
    void setFrameSize(float width, float height);

    void setAutoresizesSubviews(bool autoresizes) { autoresizesSubviews_ = autoresizes; }
    // The sub-view is drawn over this view and kept alive by it.
    void addSubview(std::unique_ptr<View> view);
    View* superview() const { return superview_; }

    // The window the view is in: its own, or its super-view's.
    HostWindow* window() const;
    // The host puts its top view into a window, before the view is initialised.
    void setWindow(HostWindow* window) { window_ = window; }

    virtual void drawRect(Rect dirty);

protected:
    void setFrame(Rect frame) { frame_ = frame; }
    // Called after the frame's size changed.
    virtual void frameSizeChanged() {}

private:
    Rect frame_;
    bool autoresizesSubviews_ = false;
    View* superview_ = nullptr;
    HostWindow* window_ = nullptr;
    std::vector<std::unique_ptr<View>> subviews_;
};
