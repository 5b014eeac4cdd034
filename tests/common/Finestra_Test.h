#pragma once

#include <functional>
#include <memory>

#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/ui/Form_Password.h"
#include "app/ui/MainWindow.h"
#include "fixtures/Fornitore.h"

namespace velmora::test {

// The main window on an installation folder of its own, started as the program starts it.
class Finestra_Test : public ::testing::Test {
protected:
    // Makes the installation folder and the window over it.
    void prepara(const fixtures::Dati& dati) {
        m_root = m_dir.filePath(QStringLiteral("VELMORA"));
        fixtures::installa(m_root, dati);
        m_sessione = std::make_unique<Sessione>(InstallFolder(m_root), m_boxes, m_shell, m_clock);
        m_window = std::make_unique<MainWindow>(*m_sessione);
        // Test programs run side by side: each window has a single-instance name of its own.
        m_window->setNomeIstanza(m_dir.path());
    }

    // Creates and shows the window; `answer` answers the password dialog when it opens.
    void avvia(const std::function<void(Form_Password*)>& answer) {
        QObject::connect(m_window.get(), &MainWindow::passwordRichiesta, m_window.get(), answer);
        ASSERT_TRUE(m_window->FormCreate());
        QSignalSpy done(m_window.get(), &MainWindow::avvioCompletato);
        m_window->show();
        ASSERT_TRUE(done.wait(60000));
    }

    // An answer that signs in with a password and a language.
    static std::function<void(Form_Password*)> accedi(const QString& password, int lingua) {
        return [password, lingua](Form_Password* dialogo) {
            dialogo->password()->setText(password);
            dialogo->lingua()->setCurrentIndex(lingua);
            dialogo->ok()->click();
        };
    }

    QTemporaryDir m_dir;
    QString m_root;
    ScriptedBoxes m_boxes;
    ScriptedShell m_shell;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 0))};
    std::unique_ptr<Sessione> m_sessione;
    std::unique_ptr<MainWindow> m_window;
};

}  // namespace velmora::test
