// Draws the program's pictures into PNG files: the main window's regime and tool pictures, the
// explorer window's toolbar pictures and the tray icon with its animation. The files it writes are
// committed under resources/pictures and compiled into the program through resources/tarvesk.qrc;
// run it again (target tarvesk_draw_pictures) after changing a picture:
//   QT_QPA_PLATFORM=offscreen build/resources/tarvesk_draw_pictures resources/pictures
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

#include <cstdio>

namespace {

// ---- main window

QPixmap canvas(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

enum class Tool { Settings, Registry, About };

// A coloured disc per regime with a mark of its own: a triangle (run), a square (configure), a
// cross-hair (debug), bars (monitor), stacked sheets (batch).
QPixmap regimePicture(int regime) {
    static const QColor colours[] = {QColor(0, 128, 0), QColor(0, 0, 160), QColor(160, 0, 0), QColor(0, 128, 128),
                                     QColor(128, 0, 128)};
    QPixmap pixmap = canvas(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colours[regime >= 0 && regime < 5 ? regime : 0]);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::white, 1.5));
    switch (regime) {
    case 0: {
        QPainterPath path;
        path.moveTo(6, 4);
        path.lineTo(12, 8);
        path.lineTo(6, 12);
        path.closeSubpath();
        p.fillPath(path, Qt::white);
        break;
    }
    case 1:
        p.drawRect(QRectF(5, 5, 6, 6));
        break;
    case 2:
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(4.5, 4.5, 7, 7));
        p.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
        p.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
        break;
    case 3:
        p.drawLine(QPointF(5, 12), QPointF(5, 8));
        p.drawLine(QPointF(8, 12), QPointF(8, 4));
        p.drawLine(QPointF(11, 12), QPointF(11, 6));
        break;
    default:
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(4, 4, 6, 6));
        p.drawRect(QRectF(6.5, 6.5, 6, 6));
        break;
    }
    p.end();
    return pixmap;
}

// The tool panel: a gear (settings), a stack of registry entries, an "i" (about).
QPixmap toolPicture(Tool tool) {
    QPixmap pixmap = canvas(20);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (tool) {
    case Tool::Settings:
        p.setPen(QPen(QColor(64, 64, 64), 3, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 4; ++i) {
            p.save();
            p.translate(10, 10);
            p.rotate(45.0 * i);
            p.drawLine(QPointF(-8, 0), QPointF(8, 0));
            p.restore();
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(128, 128, 128));
        p.drawEllipse(QRectF(4, 4, 12, 12));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(7.5, 7.5, 5, 5));
        break;
    case Tool::Registry:
        p.setPen(QPen(QColor(0, 0, 128), 1));
        for (int i = 0; i < 3; ++i) {
            p.setBrush(i == 1 ? QColor(255, 255, 160) : QColor(192, 220, 255));
            p.drawRect(QRectF(2.5, 2.5 + 5.5 * i, 15, 4.5));
        }
        break;
    case Tool::About:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 96, 192));
        p.drawEllipse(QRectF(1, 1, 18, 18));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(8.5, 4, 3, 3));
        p.drawRect(QRectF(8.5, 8.5, 3, 7.5));
        break;
    }
    p.end();
    return pixmap;
}

// ---- explorer window

constexpr int RegimeImageBase = 4;
constexpr int UpImage = 9;
constexpr int ExclusiveImage = 11;

void drawView(QPainter& p, int style) {
    p.setPen(QColor(0, 0, 128));
    p.setBrush(QColor(90, 140, 220));
    switch (style) {
    case 0: // large icons: four big squares
        for (int y : {1, 9})
            for (int x : {1, 9})
                p.drawRect(x, y, 5, 5);
        break;
    case 1: // small icons: rows of small squares with a line each
        for (int y : {2, 7, 12}) {
            p.drawRect(1, y, 2, 2);
            p.drawRect(8, y, 2, 2);
        }
        break;
    case 2: // list: one column of entries
        for (int y : {2, 6, 10}) {
            p.drawRect(1, y, 2, 2);
            p.drawLine(5, y + 1, 14, y + 1);
        }
        break;
    default: // table: entries with columns
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 1, 15, 13);
        p.drawLine(0, 5, 15, 5);
        p.drawLine(0, 9, 15, 9);
        p.drawLine(7, 1, 7, 14);
        break;
    }
}

void drawRegime(QPainter& p, int regime) {
    static const QColor colours[] = {QColor(0, 128, 0), QColor(200, 140, 0), QColor(192, 0, 0), QColor(0, 0, 192),
                                     QColor(128, 0, 128)};
    static const char* letters[] = {"П", "К", "О", "М", "@"};
    p.setPen(Qt::NoPen);
    p.setBrush(colours[regime]);
    p.drawRoundedRect(0, 0, 16, 16, 3, 3);
    QFont font = p.font();
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString::fromUtf8(letters[regime]));
}

void drawUp(QPainter& p) {
    QPainterPath arrow;
    arrow.moveTo(8, 1);
    arrow.lineTo(15, 8);
    arrow.lineTo(11, 8);
    arrow.lineTo(11, 15);
    arrow.lineTo(5, 15);
    arrow.lineTo(5, 8);
    arrow.lineTo(1, 8);
    arrow.closeSubpath();
    p.setPen(QColor(0, 64, 0));
    p.setBrush(QColor(60, 170, 60));
    p.drawPath(arrow);
}

void drawMode(QPainter& p, bool exclusive) {
    p.setPen(Qt::black);
    if (exclusive) { // one user
        p.setBrush(QColor(220, 40, 40));
        p.drawEllipse(5, 1, 6, 6);
        p.drawRoundedRect(3, 8, 10, 7, 2, 2);
    } else { // several users
        p.setBrush(QColor(60, 140, 220));
        p.drawEllipse(1, 2, 5, 5);
        p.drawRoundedRect(0, 8, 7, 7, 2, 2);
        p.drawEllipse(9, 2, 5, 5);
        p.drawRoundedRect(8, 8, 7, 7, 2, 2);
    }
}

// 0 to 3 the view styles, 4 to 8 the start regimes, 9 "up", 10 shared and 11 exclusive mode.
QPixmap explorerPicture(int index) {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, index >= RegimeImageBase);
    if (index < RegimeImageBase)
        drawView(p, index);
    else if (index < UpImage)
        drawRegime(p, index - RegimeImageBase);
    else if (index == UpImage)
        drawUp(p);
    else
        drawMode(p, index == ExclusiveImage);
    p.end();
    return picture;
}

// ---- tray icon

const QColor kNavy(0, 0, 128);
const QColor kYellow(255, 255, 0);
const QColor kWhite(255, 255, 255);
const QColor kTeal(0, 128, 128);
const QColor kAqua(0, 255, 255);

// A "start" triangle pointing right, centred in a square of the given side.
QPainterPath startTriangle(qreal side) {
    QPainterPath path;
    path.moveTo(side * 0.38, side * 0.28);
    path.lineTo(side * 0.74, side * 0.50);
    path.lineTo(side * 0.38, side * 0.72);
    path.closeSubpath();
    return path;
}

// The static icon: a start triangle on a navy tile, 32 x 32 in colours of the 16-colour palette.
QPixmap trayPicture() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kWhite, 1.5));
    painter.setBrush(kNavy);
    painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    painter.setPen(QPen(kTeal, 1));
    painter.setBrush(kYellow);
    painter.drawPath(startTriangle(32));
    painter.end();
    return pixmap;
}

// The animation: a light dot runs round the rim, one eighth of a turn per picture, clockwise
// from the top.
QPixmap trayFrame(int frame) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kNavy);
    painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    painter.setBrush(kYellow);
    painter.drawPath(startTriangle(16));
    qreal angle = qDegreesToRadians(frame * 45.0 - 90.0);
    QPointF dot(8 + 5.6 * qCos(angle), 8 + 5.6 * qSin(angle));
    painter.setBrush(kAqua);
    painter.drawEllipse(dot, 1.8, 1.8);
    painter.end();
    return pixmap;
}

bool save(const QPixmap& pixmap, const QDir& folder, const QString& name) {
    if (pixmap.save(folder.filePath(name), "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(folder.filePath(name)));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (int regime = 0; regime < 5; ++regime)
        ok &= save(regimePicture(regime), folder, QStringLiteral("regime-%1.png").arg(regime));
    ok &= save(toolPicture(Tool::Settings), folder, QStringLiteral("tool-settings.png"));
    ok &= save(toolPicture(Tool::Registry), folder, QStringLiteral("tool-registry.png"));
    ok &= save(toolPicture(Tool::About), folder, QStringLiteral("tool-about.png"));
    for (int index = 0; index <= ExclusiveImage; ++index)
        ok &=
            save(explorerPicture(index), folder, QStringLiteral("explorer-%1.png").arg(index, 2, 10, QLatin1Char('0')));
    ok &= save(trayPicture(), folder, QStringLiteral("tray.png"));
    for (int frame = 0; frame < 8; ++frame)
        ok &= save(trayFrame(frame), folder, QStringLiteral("tray-%1.png").arg(frame));
    return ok ? 0 : 1;
}
