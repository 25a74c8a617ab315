#include "platform/Picture.h"

#include "platform/QtInternal.h"

namespace tk {

Picture PictureFromImage(QImage image) {
    if (image.isNull()) return Picture();
    auto d = std::make_shared<Picture::Data>();
    d->image = std::move(image);
    return Picture(std::move(d));
}

Picture Picture::FromPixels(int width, int height, std::vector<std::uint32_t> argb) {
    if (width <= 0 || height <= 0 ||
        argb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return Picture();
    QImage img(width, height, QImage::Format_ARGB32);
    if (img.isNull()) return Picture();
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x) line[x] = argb[static_cast<std::size_t>(y) * width + x];
    }
    return PictureFromImage(std::move(img));
}

Int32 Picture::Width() const { return d_ ? d_->image.width() : 0; }
Int32 Picture::Height() const { return d_ ? d_->image.height() : 0; }

std::uint32_t Picture::PixelAt(int x, int y) const {
    if (!d_ || x < 0 || y < 0 || x >= d_->image.width() || y >= d_->image.height()) return 0;
    return d_->image.pixel(x, y);
}

QString FontFamily(const String& layoutName) {
    // Liberation Sans is metric-compatible with Arial; the two older system
    // faces are mapped onto it as well so that the layouts' texts fit their
    // frames as they were measured.
    struct Row { const char* layout; const char* family; };
    static const Row kFonts[] = {
        {"Arial", "Liberation Sans"},
        {"Charcoal", "Liberation Sans"},
        {"Geneva", "Liberation Sans"},
    };
    for (const auto& row : kFonts)
        if (layoutName == row.layout) return QString::fromLatin1(row.family);
    return QString::fromLatin1("Liberation Sans");
}

QFont MakeFont(const String& layoutName, int pixelSize, bool bold, bool italic, bool underline) {
    QFont f(FontFamily(layoutName));
    f.setPixelSize(pixelSize > 0 ? pixelSize : 12);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

}  // namespace tk
