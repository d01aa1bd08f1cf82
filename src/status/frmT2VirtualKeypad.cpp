// The panel's front display (4 lines of 20 characters) and its six keys with
// their lamps. Every reading sends the key pressed since the last one.
#include "StatusWindows.h"

#include "ScreenText.h"

#include <QFontDatabase>
#include <QPainter>

namespace t2 {

namespace {

const QColor LcdBackground(150, 186, 72);
const QColor LcdInk(24, 40, 16);

}  // namespace

const std::array<std::array<unsigned char, 8>, 8>& frmT2VirtualKeypad::CustomCharacterDots()
{
    static const std::array<std::array<unsigned char, 8>, 8> dots = {{
        // 0: arrow up
        {0b00100, 0b01110, 0b10101, 0b00100, 0b00100, 0b00100, 0b00100, 0b00000},
        // 1: arrow down
        {0b00100, 0b00100, 0b00100, 0b00100, 0b10101, 0b01110, 0b00100, 0b00000},
        // 2: arrow right
        {0b00000, 0b00100, 0b00010, 0b11111, 0b00010, 0b00100, 0b00000, 0b00000},
        // 3: arrow left
        {0b00000, 0b00100, 0b01000, 0b11111, 0b01000, 0b00100, 0b00000, 0b00000},
        // 4: bell
        {0b00100, 0b01110, 0b01110, 0b01110, 0b11111, 0b00000, 0b00100, 0b00000},
        // 5: lamp
        {0b01110, 0b10001, 0b10001, 0b10001, 0b01010, 0b01110, 0b01110, 0b00100},
        // 6: clock
        {0b00000, 0b01110, 0b10101, 0b10111, 0b10001, 0b01110, 0b00000, 0b00000},
        // 7: enter
        {0b00001, 0b00001, 0b00101, 0b01001, 0b11111, 0b01000, 0b00100, 0b00000},
    }};
    return dots;
}

QPixmap frmT2VirtualKeypad::CustomCharacterPicture(int code, int dotPixels, const QColor& ink)
{
    const int dot = dotPixels > 0 ? dotPixels : 1;
    QPixmap picture(5 * dot, 8 * dot);
    picture.fill(Qt::transparent);
    if (code < 0 || code > 7) return picture;
    QPainter p(&picture);
    const auto& rows = CustomCharacterDots()[code];
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 5; ++x)
            if ((rows[y] >> (4 - x)) & 1) p.fillRect(x * dot, y * dot, dot, dot, ink);
    return picture;
}

const WindowInfo frmT2VirtualKeypad::Info{"frmT2VirtualKeypad", "Virtual Keypad"};

frmT2VirtualKeypad::frmT2VirtualKeypad(ProgramState& state, QWidget* parent)
    : StatusWindow(state, Info, parent)
{
    ShownChars.fill(255);

    fraDisplay = new QFrame(this);
    fraDisplay->setObjectName("fraDisplay");
    fraDisplay->setGeometry(Px(1440), Px(1890), Px(7740), Px(2940));
    fraDisplay->setFrameShape(QFrame::Panel);
    fraDisplay->setFrameShadow(QFrame::Sunken);
    fraDisplay->setLineWidth(3);
    {
        QPalette p = fraDisplay->palette();
        p.setColor(QPalette::Window, LcdBackground);
        fraDisplay->setPalette(p);
        fraDisplay->setAutoFillBackground(true);
    }

    QFont lcd = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    lcd.setPixelSize(Px(450));
    lcd.setBold(true);
    const int dot = std::max(1, Px(45));
    for (int code = 0; code < 8; ++code) {
        imgSourceChar[code] = new QLabel(this);
        imgSourceChar[code]->setObjectName(Element("imgSourceChar", code));
        imgSourceChar[code]->setPixmap(CustomCharacterPicture(code, dot, LcdInk));
        imgSourceChar[code]->hide();
    }
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 20; ++j) {
            const int n = 20 * i + j;
            QLabel* l = AddLabel(Element("lblLCD", n), " ", 375 * j + 1560, 720 * i + 2010, 375, 600);
            l->setFont(lcd);
            l->setAlignment(Qt::AlignCenter);
            QPalette p = l->palette();
            p.setColor(QPalette::WindowText, LcdInk);
            l->setPalette(p);
            lblLCD[n] = l;
            QLabel* img = AddLabel(Element("imgCustomChar", n), "", 375 * j + 1560, 720 * i + 2130, 375, 480);
            img->setAlignment(Qt::AlignCenter);
            img->hide();
            imgCustomChar[n] = img;
        }
    }

    static const char* const captions[7] = {"Key 1", "Key 2", "Key 3", "Key 4", "Key 5", "Key 6", "Both"};
    for (int k = 0; k < 7; ++k) {
        cmdKey[k] = AddButton(Element("cmdKey", k), captions[k], 1560 + 1080 * k, 5160, 960, 480);
        SetBackground(cmdKey[k], status::LightGrey);
        connect(cmdKey[k], &QPushButton::clicked, this, [this, k] { cmdKey_Click(k); });
    }

    PlaceUpdateControls(1560, 840);
    PlaceNoConnection(1440, 840, 7740);
    SetClientSize(10680, 6000);
}

void frmT2VirtualKeypad::BeforeActivate()
{
    ShownChars.fill(255);
    ShownLamps = 255;
}

void frmT2VirtualKeypad::ShowConnected(bool connected)
{
    fraDisplay->setVisible(connected);
    for (int n = 0; n < 80; ++n) {
        lblLCD[n]->setVisible(connected);
        imgCustomChar[n]->hide();
        if (!connected) lblLCD[n]->setText(" ");
    }
    for (QPushButton* k : cmdKey) k->setVisible(connected);
}

void frmT2VirtualKeypad::cmdKey_Click(int key)
{
    PendingKey = status::KeyCode(key);
}

void frmT2VirtualKeypad::ShowFromCV()
{
    const int sent = PendingKey;
    // A failed reading is silent here: the key stays pending for the next one.
    if (!Send(KeypadCommand(sent))) return;
    // A key pressed while the reading waited is sent with the next one.
    if (PendingKey == sent) PendingKey = 0;
    const std::optional<KeypadDisplay> display = ReadKeypadDisplay(Reply());
    if (!display) return;

    for (int n = 0; n < 80; ++n) {
        const auto c = static_cast<unsigned char>(display->characters[n]);
        if (c == ShownChars[n]) continue;
        ShownChars[n] = c;
        if (status::IsCustomCharacter(c)) {
            lblLCD[n]->hide();
            imgCustomChar[n]->setPixmap(imgSourceChar[c]->pixmap());
            imgCustomChar[n]->show();
        } else {
            lblLCD[n]->setText(ToScreen(Bytes(1, static_cast<char>(c))));
            lblLCD[n]->show();
            imgCustomChar[n]->hide();
        }
    }
    const int lamps = display->lamps;
    if (lamps != ShownLamps) {
        ShownLamps = lamps;
        for (int k = 0; k < 6; ++k) {
            const bool lit = status::LampLit(lamps, k);
            SetBackground(cmdKey[k], lit ? status::DarkYellow : status::LightGrey);
            cmdKey[k]->setAccessibleDescription(lit ? "Lamp On" : "Lamp Off");   // the colour, for a screen reader
        }
    }
}

}  // namespace t2
