// A decoded picture, shared by reference. A default-made Picture is nil.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Types.h"

namespace tk {

class Picture {
public:
    struct Data;  // defined inside the toolkit layer

    Picture() = default;
    explicit Picture(std::shared_ptr<const Data> d) : d_(std::move(d)) {}

    // Pixels as 0xAARRGGBB, row by row; width * height entries.
    static Picture FromPixels(int width, int height, std::vector<std::uint32_t> argb);

    explicit operator bool() const { return d_ != nullptr; }
    bool IsNil() const { return d_ == nullptr; }
    Int32 Width() const;
    Int32 Height() const;
    // 0xAARRGGBB of one pixel; 0 outside the picture or for nil.
    std::uint32_t PixelAt(int x, int y) const;

    // Identity: two Pictures are equal when they refer to the same object.
    friend bool operator==(const Picture& a, const Picture& b) { return a.d_ == b.d_; }

    const Data* data() const { return d_.get(); }

private:
    std::shared_ptr<const Data> d_;
};

}  // namespace tk
