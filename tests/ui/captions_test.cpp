// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/captions_ui.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

namespace {
constexpr Text kTitle{"Window", "Ventana"};
constexpr Text kLabel{"Name :", "Nombre :"};
constexpr Text kBox{"Loops", "Bucles"};
constexpr Text kMenu{"File", "Archivo"};
constexpr Text kItem{"Exit", "Salir"};
constexpr Text kTip{"Stop", "Detener"};
constexpr Text kButton{"Min/Max/Avg", "Mín/Máx/Med"};

// The caption as a reader takes it from the wrapped face: a line that ends
// in "/" runs on, any other line break reads as a space.
QString Unwrapped(const QString& wrapped)
{
    QString out;
    for (const QString& line : wrapped.split(QLatin1Char('\n'))) {
        if (!out.isEmpty() && !out.endsWith(QLatin1Char('/')))
            out += QLatin1Char(' ');
        out += line;
    }
    return out;
}
}  // namespace

class CaptionsTest : public QObject {
    Q_OBJECT

private slots:
    void TableRowsReachEachKindOfControl_data()
    {
        QTest::addColumn<Language>("language");
        QTest::newRow("english") << Language::English;
        QTest::newRow("spanish") << Language::Spanish;
    }
    void TableRowsReachEachKindOfControl()
    {
        QFETCH(Language, language);
        QWidget window;
        window.setObjectName(QStringLiteral("TWindow"));
        auto* label = new QLabel(&window);
        label->setObjectName(QStringLiteral("Label1"));
        auto* box = new QCheckBox(&window);
        box->setObjectName(QStringLiteral("Box1"));
        auto* menu = new QMenu(&window);
        menu->setObjectName(QStringLiteral("File1"));
        auto* item = new QAction(&window);
        item->setObjectName(QStringLiteral("Exit1"));
        auto* button = new QPushButton(&window);
        button->setObjectName(QStringLiteral("Btn1"));
        button->setGeometry(0, 0, 52, 45);
        // A dialog parented to the window has controls of the same names:
        // they are the dialog's, not the window's.
        auto* dialog = new QDialog(&window);
        auto* foreign = new QLabel(QStringLiteral("keep"), dialog);
        foreign->setObjectName(QStringLiteral("Label1"));
        auto* foreignBox = new QCheckBox(QStringLiteral("keep"), dialog);
        foreignBox->setObjectName(QStringLiteral("Box2"));

        const CaptionRow table[] = {
            {"TWindow", &kTitle},
            {"Label1", &kLabel},
            {"Box1", &kBox},
            {"File1", &kMenu},
            {"Exit1", &kItem},
            {"Box1", &kTip, CaptionPart::ToolTip},
            {"Btn1", &kButton, CaptionPart::WrappedText},
            {"Box2", &kBox},
            {"Ghost", &kLabel},
            {"Label1", &kButton, CaptionPart::WrappedText},
        };
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no control Box2")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no control Ghost")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no control Label1")));
        const QStringList missing = ApplyCaptions(window, table, language);

        QCOMPARE(missing, (QStringList{"Box2", "Ghost", "Label1"}));
        QCOMPARE(window.windowTitle(), kTitle.In(language));
        QCOMPARE(label->text(), kLabel.In(language));
        QCOMPARE(box->text(), kBox.In(language));
        QCOMPARE(menu->title(), kMenu.In(language));
        QCOMPARE(item->text(), kItem.In(language));
        QCOMPARE(box->toolTip(), kTip.In(language));
        QCOMPARE(button->property("caption").toString(), kButton.In(language));
        QCOMPARE(Unwrapped(button->text()), kButton.In(language));
        QCOMPARE(foreign->text(), QStringLiteral("keep"));
        QCOMPARE(foreignBox->text(), QStringLiteral("keep"));
    }

    void CaptionsBreakAtSpacesAndAfterSlashes_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("widest");  // the width allowed is this text's
        QTest::addColumn<QString>("wrapped");
        QTest::newRow("slashes, one a line") << "Min/Max/Avg" << "Max/" << "Min/\nMax/\nAvg";
        QTest::newRow("slashes, two a line") << "Min/Max/Avg" << "Min/Max/" << "Min/Max/\nAvg";
        QTest::newRow("fits whole") << "Min/Max/Avg" << "Min/Max/Avg" << "Min/Max/Avg";
        QTest::newRow("spaces") << "by Test Point" << "by Test" << "by Test\nPoint";
        QTest::newRow("double space") << "New  Test Point Set" << "New Test Point" << "New Test Point\nSet";
        QTest::newRow("slash then space") << "Save/Load Report" << "Load" << "Save/\nLoad\nReport";
        QTest::newRow("word wider than all") << "Configuration" << "Con" << "Configuration";
    }
    void CaptionsBreakAtSpacesAndAfterSlashes()
    {
        QFETCH(QString, caption);
        QFETCH(QString, widest);
        QFETCH(QString, wrapped);
        const QFont font = QApplication::font();
        QCOMPARE(WrapCaption(caption, font, QFontMetrics(font).horizontalAdvance(widest)), wrapped);
    }

    void CaptionShrinksUntilItFitsAndGrowsBackForTheNext()
    {
        QPushButton button;
        button.setGeometry(0, 0, 52, 45);
        QFont font = button.font();
        font.setPointSizeF(14);
        button.setFont(font);
        const QString caption = QStringLiteral("Searching");
        QVERIFY2(QFontMetrics(font).horizontalAdvance(caption) > CaptionWidth(button), "the fixture must not fit");

        SetWrappedCaption(button, caption);
        QVERIFY(button.font().pointSizeF() < 14);
        QVERIFY(QFontMetrics(button.font()).horizontalAdvance(button.text()) <= CaptionWidth(button));
        QCOMPARE(button.text(), caption);

        SetWrappedCaption(button, QStringLiteral("OK"));
        QCOMPARE(button.font().pointSizeF(), 14.0);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CaptionsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "captions_test.moc"
