#pragma once

#include "ravik/RenderingBufferInterface.hpp"

struct HBITMAP__;
struct HDC__;
struct HWND__;

namespace ravik
{

// The window's tile buffer on Windows: a top-down 32-bit device-independent bitmap section whose
// pixels the toolkit draws into directly, copied to the window being painted. Editor thread only.
class RenderingBufferWin32 final : public RenderingBufferInterface
{
public:
    RenderingBufferWin32(int width, int height);
    ~RenderingBufferWin32() override;

    // Creates the bitmap for the window's device context: 0, or -1 (nothing is drawn then).
    int attach(HWND__* window);
    // The device context of the paint in progress; null outside a paint.
    void set_target(HDC__* dc) { target_ = dc; }

    Pixel* get_pixels() override { return pixels_; }
    void blit(const Point& dest, const Point& size) override;

private:
    void release();

    Pixel* pixels_ = nullptr;
    HBITMAP__* bitmap_ = nullptr;
    HDC__* target_ = nullptr;
};

} // namespace ravik
