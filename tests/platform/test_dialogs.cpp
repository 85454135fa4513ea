// The real question box, driven with keys and its close box: only "&Yes"
// and "&No" show, and neither Escape nor closing the box counts as "No".

#include "dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QtTest>

class TestDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void questionBox_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("answer");
        QTest::newRow("escape") << "escape" << int(Dialogs::Answer::Dismissed);
        QTest::newRow("closed by the window manager") << "close" << int(Dialogs::Answer::Dismissed);
        QTest::newRow("enter takes the default") << "enter" << int(Dialogs::Answer::Yes);
        QTest::newRow("yes") << "yes" << int(Dialogs::Answer::Yes);
        QTest::newRow("no") << "no" << int(Dialogs::Answer::No);
    }

    void questionBox()
    {
        QFETCH(QString, how);
        QFETCH(int, answer);
        const std::unique_ptr<QMessageBox> box =
            makeQuestionBox(nullptr, QStringLiteral("Text speichern?"));
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        QCOMPARE(box->windowTitle(), QStringLiteral("Confirm"));
        QCOMPARE(box->text(), QStringLiteral("Text speichern?"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QStringList shown;
        for (QAbstractButton *button : box->buttons())
            if (button->isVisible())
                shown << button->text();
        shown.sort();
        QCOMPARE(shown, (QStringList{QStringLiteral("&No"), QStringLiteral("&Yes")}));

        if (how == QLatin1String("escape"))
            QTest::keyClick(box.get(), Qt::Key_Escape);
        else if (how == QLatin1String("close"))
            box->close();
        else if (how == QLatin1String("enter"))
            QTest::keyClick(box.get(), Qt::Key_Return);
        else
            box->findChild<QAbstractButton *>(how)->click();
        QTRY_VERIFY(!box->isVisible());
        QCOMPARE(int(questionAnswer(*box)), answer);
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
