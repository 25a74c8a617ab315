// Qt-side definitions shared by the toolkit layer's own sources. Never
// included outside src/platform/.
#pragma once

#include <QImage>
#include <QKeySequence>
#include <QString>
#include <QColor>
#include <QFont>

#include "platform/Picture.h"
#include "platform/Types.h"

namespace tk {

struct Picture::Data {
    QImage image;
};

inline QString Q(const String& s) { return QString::fromStdString(s); }
inline String S(const QString& s) { return s.toStdString(); }
inline QColor QC(Color c) { return QColor(c.r, c.g, c.b); }

Picture PictureFromImage(QImage image);

// A menu item's KeyboardShortcut ("Cmd+Q") as keys: Cmd is Ctrl here.
QKeySequence ShortcutKeys(const String& shortcut);
// Chooses the menu item whose shortcut the keys are; false if none is.
bool ChooseMenuItemForKeys(const QKeySequence& pressed);

// The one table from the layouts' font names to installed families.
QString FontFamily(const String& layoutName);
QFont MakeFont(const String& layoutName, int pixelSize, bool bold = false,
               bool italic = false, bool underline = false);

}  // namespace tk
