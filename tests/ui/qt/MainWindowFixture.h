#pragma once

#include "MessageBoxAnswerer.h"
#include "support/TempDir.h"
#include "ui/qt/frm.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace brivane::test {

// A main window whose program folder, and so settings file, is a fresh temporary folder.
class MainWindowTest : public ::testing::Test {
protected:
    void Open()
    {
        window = std::make_unique<frm>(QString::fromStdString(Settings()), QString::fromStdString(app.Path()));
        window->show();
        // Shortcuts and mnemonics reach only the active window.
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    std::string Settings() const { return app / "Brivane.ini"; }
    std::string SettingsText() const { return Exists(Settings()) ? ReadText(Settings()) : "<none>"; }
    void WriteSettings(const std::string& text) { WriteText(Settings(), text); }

    template <typename T> T* Find(const char* name) const
    {
        T* child = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QListWidget* File() const { return Find<QListWidget>("File"); }
    QScrollBar* Tics() const { return Find<QScrollBar>("hsbTics"); }
    QLabel* TicsLabel() const { return Find<QLabel>("lblTics"); }
    QLabel* FolderLabel() const { return Find<QLabel>("lblFolder"); }
    QAction* MakeBackups() const { return Find<QAction>("mnuOptionsMakeBackups"); }

    // A menu item's text without the mark of its access key.
    static std::string Plain(const QAction* action) { return action->text().remove(QLatin1Char('&')).toStdString(); }

    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < File()->count(); ++i)
            names.push_back(File()->item(i)->text().toStdString());
        return names;
    }

    TempDir app;
    MessageBoxAnswerer answerer;
    std::unique_ptr<frm> window;
};

} // namespace brivane::test
