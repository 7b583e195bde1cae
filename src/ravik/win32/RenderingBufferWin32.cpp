#include "ravik/win32/RenderingBufferWin32.hpp"

#include <windows.h>

#include <algorithm>

namespace ravik
{

RenderingBufferWin32::RenderingBufferWin32(int width, int height)
    : RenderingBufferInterface(width, height)
{
}

RenderingBufferWin32::~RenderingBufferWin32()
{
    release();
}

void RenderingBufferWin32::release()
{
    if (bitmap_ != nullptr)
    {
        ::DeleteObject(bitmap_);
    }
    bitmap_ = nullptr;
    pixels_ = nullptr;
}

int RenderingBufferWin32::attach(HWND__* window)
{
    release();
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = get_width();
    // Negative: rows top-down, as the toolkit draws them.
    info.bmiHeader.biHeight = -get_height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = ::GetDC(window);
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ::ReleaseDC(window, dc);
    if (bitmap_ == nullptr)
    {
        return -1;
    }
    // Rows of 32-bit pixels need no padding: the stride is the width.
    pixels_ = static_cast<Pixel*>(bits);
    return 0;
}

void RenderingBufferWin32::blit(const Point& dest, const Point& size)
{
    const int width = std::min(size.x, get_width());
    const int height = std::min(size.y, get_height());
    if (target_ == nullptr || bitmap_ == nullptr || width <= 0 || height <= 0)
    {
        return;
    }
    HDC memory = ::CreateCompatibleDC(target_);
    HGDIOBJ previous = ::SelectObject(memory, bitmap_);
    ::BitBlt(target_, dest.x, dest.y, width, height, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    // The next tile overwrites the pixels: the copy must not wait in the system's batch.
    ::GdiFlush();
}

} // namespace ravik
