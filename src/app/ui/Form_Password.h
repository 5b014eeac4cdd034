#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace velmora {

class Animazione_Copia;

// The password dialog of the sign-in: password (capital letters while typing, shown in clear),
// language list with flags, OK and Cancel, the copy animation and the progress bar that the
// price-list build drives. The sign-in itself runs while the dialog is open, started by
// `accedi`.
class Form_Password final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Form_Password)

public:
    // `markerAmministratore`: the file whose presence enables the administrator shortcut.
    explicit Form_Password(QString markerAmministratore, QWidget* parent = nullptr);

    QLineEdit* password() const { return m_password; }
    QComboBox* lingua() const { return m_lingua; }
    QProgressBar* barra() const { return m_barra; }
    QPushButton* ok() const { return m_ok; }
    QPushButton* annulla() const { return m_annulla; }
    QLabel* chiave() const { return m_chiave; }
    bool animazioneAttiva() const;

    // The typed password matched no customer: "Invalid Password!", then the dialog closes.
    void Password_Errata();
    // One step of the copy animation, for work that keeps the event loop waiting.
    void Avanza_Animazione();
    // The sign-in has finished, or ended the program: the dialog closes.
    void Accesso_Terminato();

    static constexpr const char* kPasswordAmministratore = "QOLTRAMN";

signals:
    // OK with the typed password and the language position; Cancel with an empty password.
    void accedi(const QString& password, int lingua);

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void premiOk();
    void premiAnnulla();

    QString m_marker;
    QLabel* m_chiave = nullptr;
    QLineEdit* m_password = nullptr;
    QComboBox* m_lingua = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_annulla = nullptr;
    Animazione_Copia* m_animazione = nullptr;
    QProgressBar* m_barra = nullptr;
    bool m_accessoAvviato = false;
};

}  // namespace velmora
