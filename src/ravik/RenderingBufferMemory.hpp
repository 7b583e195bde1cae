#pragma once

#include <vector>

#include "ravik/RenderingBufferInterface.hpp"

namespace ravik
{

// A rendering buffer in ordinary memory, for tests and off-screen rendering. Its blit copies into
// another memory buffer that stands for the window, when one is set.
class RenderingBufferMemory : public RenderingBufferInterface
{
public:
    // Every pixel starts as fill.
    RenderingBufferMemory(int width, int height, Pixel fill = 0);

    Pixel* get_pixels() override;
    const Pixel* get_pixels() const;
    // Parts outside this buffer or the target are left out.
    void blit(const Point& dest, const Point& size) override;

    // Not owned; null makes blit do nothing.
    void set_target(RenderingBufferMemory* target) { target_ = target; }

    // Outside the buffer: 0.
    Pixel get_pixel(int x, int y) const;
    void set_pixel(int x, int y, Pixel value);
    void fill(Pixel value);

private:
    std::vector<Pixel> pixels_;
    RenderingBufferMemory* target_ = nullptr;
};

} // namespace ravik
