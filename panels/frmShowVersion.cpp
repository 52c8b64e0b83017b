// SPDX-License-Identifier: GPL-2.0-or-later
// SPDX-FileCopyrightText: 2026 Tarvola developers
#include "panels/frmShowVersion.h"

#include "assets/AssetPaths.h"
#include "controls/LinkLabel.h"
#include "controls/Look.h"
#include "core/Picture.h"
#include "controls/Placement.h"
#include "core/RuntimeError.h"
#include "platform/Executable.h"
#include "platform/Fonts.h"
#include "platform/MakerLibrary.h"
#include "platform/MessageBox.h"
#include "platform/WebAddress.h"

#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

namespace {

constexpr unsigned kDarkGrey = 0x4E4E4E;
constexpr unsigned kYellow = 0x00FFFF;
constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kBlue = 0xFF0000;

QFont dialogFont(qreal pointSize, bool bold = false, bool underline = false) {
    QFont font(platform::programFontName());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

// A label that shows text from its top-left corner and wraps it at its width.
template <typename Label = QLabel>
Label* makeLabel(QWidget* parent, const QString& text) {
    auto* label = new Label(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The hand over the link, sharp on double-density screens when the asset has a
// double-resolution image.
QCursor handCursor() {
    const core::Picture picture = core::Picture::fromResource(assets::kHandCursor);
    if (picture.isNull())
        return QCursor(Qt::PointingHandCursor);
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap;
    if (ratio > 1.0 && !picture.doubleResImage().isNull()) {
        pixmap = QPixmap::fromImage(picture.doubleResImage());
        pixmap.setDevicePixelRatio(2.0);
    } else {
        pixmap = QPixmap::fromImage(picture.image());
    }
    return QCursor(pixmap, assets::kHandHotspotX, assets::kHandHotspotY);
}

// What every opening shows alike, made at the first and kept with the application: a pixmap
// made afresh is a new key to the toolkit's pixmap cache, which kept each one, about 2 KB an
// opening.
class Looks : public QObject {
public:
    explicit Looks(QObject* application)
        : QObject(application),
          icon(assets::programIcon().pixmap(QSize(32, 32))),
          blank(ctl::noIcon()),
          hand(handCursor()) {}

    static const Looks& shared() {
        static QPointer<Looks> looks;
        if (!looks)
            looks = new Looks(QCoreApplication::instance());
        return *looks;
    }

    const QPixmap icon;
    const QIcon blank;
    const QCursor hand;
};

}  // namespace

frmShowVersion::frmShowVersion(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QStringLiteral("Tarvolaのバージョン情報"));
    setWindowIcon(Looks::shared().blank);
    setFixedSize(ctl::twipsToPixelSize(4995, 3345));
    setFont(dialogFont(9));
    ctl::setColours(this, ctl::bgr(kWhite));

    buildControls();
    Form_Load();
}

void frmShowVersion::buildControls() {
    Image1 = new QLabel(this);
    ctl::placeTwips(Image1, 285, 165, 480, 480);
    Image1->setPixmap(Looks::shared().icon);

    Label1[0] = makeLabel(this, QStringLiteral("Tarvola"));
    ctl::placeTwips(Label1[0], 900, 240, 3840, 330);
    Label1[0]->setFont(dialogFont(14.25, true));
    ctl::setColours(Label1[0], ctl::bgr(kDarkGrey), ctl::bgr(kYellow));

    Label1[1] = makeLabel(this, QStringLiteral("型番・製造番号："));
    ctl::placeTwips(Label1[1], 165, 720, 4605, 270);
    Label1[1]->setFont(dialogFont(9.75, true));
    ctl::setColours(Label1[1], ctl::bgr(kDarkGrey), ctl::bgr(kYellow));

    Label2 = makeLabel(this, QStringLiteral("Varsion　" TARVOLA_VERSION));
    ctl::placeTwips(Label2, 165, 1035, 3225, 225);
    ctl::setColours(Label2, ctl::bgr(kDarkGrey), ctl::bgr(kYellow));

    Label3[0] = makeLabel(this, QStringLiteral("著作：Lumora　2004年"));
    ctl::placeTwips(Label3[0], 165, 1290, 3225, 240);
    Label3[1] = makeLabel(this, QStringLiteral("企画・制作：Lumora　2002-2004年"));
    ctl::placeTwips(Label3[1], 165, 1545, 3225, 240);
    Label3[2] = makeLabel(
        this, QStringLiteral("このバスの模型は、ミナセ自動車工業株式会社の許諾を受けて一部を製作しています。\n"
                             "\n"
                             "車体の意匠権はミナセ自動車工業株式会社に帰属します。"));
    ctl::placeTwips(Label3[2], 150, 1860, 4650, 885);
    for (QLabel* label : Label3)
        ctl::setColours(label, ctl::bgr(kDarkGrey), ctl::bgr(kWhite));
    Label3[2]->setVisible(false);

    Label4 = makeLabel(this, QString());
    ctl::placeTwips(Label4, 15, 2835, 4965, 60);
    Label4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label4->setLineWidth(1);

    Label5 = makeLabel<ctl::LinkLabel>(this, QStringLiteral("ここをクリックするとLumoraHPが開きます。"));
    ctl::placeTwips(Label5, 240, 2985, 3315, 225);
    Label5->setFont(dialogFont(9, false, true));
    QPalette linkPalette = Label5->palette();
    linkPalette.setColor(QPalette::WindowText, ctl::bgr(kBlue));
    Label5->setPalette(linkPalette);
    Label5->setAutoFillBackground(false);  // the white window shows through
    Label5->setCursor(Looks::shared().hand);
    connect(Label5, &ctl::LinkLabel::Click, this, &frmShowVersion::Label5_Click);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    ctl::placeTwips(Command1, 3570, 2940, 1230, 345);
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frmShowVersion::Command1_Click);
    Command1->setFocus();
}

void frmShowVersion::Form_Load() {
    Label1[1]->setText(QStringLiteral("型番・製造番号：") + platform::executableName());
}

void frmShowVersion::Command1_Click() {
    hide();
    done(QDialog::Accepted);
}

void frmShowVersion::Label5_Click() {
    QString description;
    try {
        const QString address = platform::callLumoraHpURL();
        platform::openWebAddress(address, this);
        return;
    } catch (const core::RuntimeError& error) {
        description = error.description();
    } catch (const std::exception& error) {
        description = QString::fromLocal8Bit(error.what());
    }
    platform::messageBox(this, {description + QStringLiteral("\r\n\r\n") +
                                    QStringLiteral(" 上記内容をLumoraHP関係者まで報告してください。"),
                                QStringLiteral("Lumhpurl.dllのエラー"), platform::MessageIcon::Critical});
}

void frmShowVersion::keyPressEvent(QKeyEvent* event) {
    // OK is the default button, not the cancel button: Enter closes, Esc does not.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

#include "moc_frmShowVersion.cpp"
