#include "app/ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include "app/Sostituzione.h"
#include "app/ui/Applica_Lingua.h"
#include "app/ui/Form_Password.h"
#include "app/ui/TCSEdit.h"
#include "browser/Layout_Griglia.h"
#include "browser/Ordini_Catalogo.h"
#include "browser/ui/Pagina_Catalogo.h"
#include "catalogue/Listino.h"
#include "platform/IstanzaUnica.h"

namespace velmora {

MainWindow::MainWindow(Sessione& sessione, QWidget* parent)
    : QMainWindow(parent), m_sessione(sessione), m_avvio(sessione, *this), m_cliente(sessione, *this) {
    setObjectName(QStringLiteral("Form1"));
    costruisciFinestra();
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive) {
            m_appInattiva = true;
        }
    });
}

MainWindow::~MainWindow() = default;

void MainWindow::costruisciFinestra() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);
    resize(800, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    m_pagine = new QTabWidget(this);
    m_pagine->setObjectName(QStringLiteral("PageControl1"));
    struct Pagina {
        const char* nome;
        int tag;
    };
    m_catalogo = new Pagina_Catalogo(m_sessione, m_pagine);
    for (const Pagina& pagina : {Pagina{"Pagina_Catalogo", 1}, Pagina{"Pagina_Ordine", 2},
                                 Pagina{"Pagina_Archivio", 69}, Pagina{"Pagina_News", 50}}) {
        QWidget* page = pagina.tag == 1 ? m_catalogo : new QWidget(m_pagine);
        page->setObjectName(QString::fromLatin1(pagina.nome));
        setTag(page, pagina.tag);
        m_pagine->addTab(page, QString());
    }
    setCentralWidget(m_pagine);

    m_pannello0 = new QLabel(this);
    m_pannello0->setObjectName(QStringLiteral("Pannello_Stato_0"));
    m_pannello0->setFixedWidth(200);
    m_pannello1 = new QLabel(this);
    m_pannello1->setObjectName(QStringLiteral("Pannello_Stato_1"));
    m_pannello1->setFixedWidth(200);
    statusBar()->addWidget(m_pannello0);
    statusBar()->addWidget(m_pannello1);
    m_catalogo->setPannelloStato(m_pannello1);
    connect(m_catalogo, &Pagina_Catalogo::salvaLayout, this, &MainWindow::Salva_Layout_Catalogo);

    m_barraStato = new QProgressBar(this);
    m_barraStato->setObjectName(QStringLiteral("ProgressBar1"));
    m_barraStato->setRange(0, 100);
    m_barraStato->setTextVisible(false);
    m_barraStato->setFixedSize(199, 17);
}

bool MainWindow::FormCreate() {
    m_inCreazione = true;
    const bool continua = m_avvio.FormCreate();
    m_inCreazione = false;
    return continua;
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_mostrata) {
        m_mostrata = true;
        QTimer::singleShot(0, this, [this] {
            FormShow();
            m_avviata = true;
            FormActivate();
            emit avvioCompletato();
        });
    }
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && m_avviata) {
        // Coming back from another program is not an activation of the program's own.
        if (m_appInattiva) {
            m_appInattiva = false;
        } else {
            QTimer::singleShot(0, this, &MainWindow::FormActivate);
        }
    }
    return QMainWindow::event(event);
}

void MainWindow::FormShow() {
    m_avvio.FormShow();
}

void MainWindow::FormActivate() {
    m_avvio.FormActivate();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    FormClose();
    if (!m_sessione.Programma_Terminato) {
        // The user closed the window: the run's work is committed as the connection closes.
        try {
            m_sessione.connessione().close(true);
        } catch (const db::DatabaseError& e) {
            m_sessione.boxes().error(e.text());
        }
        m_sessione.Programma_Terminato = true;
    }
    event->accept();
    QMainWindow::closeEvent(event);
    if (!m_chiusa) {
        m_chiusa = true;
        emit terminato();
    }
}

void MainWindow::ripristina() {
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

bool MainWindow::Controlla_Istanza() {
    const QString programma = m_nomeIstanza.isEmpty()
                                  ? QFileInfo(QCoreApplication::applicationFilePath()).fileName()
                                  : m_nomeIstanza;
    m_istanza = std::make_unique<IstanzaUnica>(nomeIstanza(programma));
    if (!m_istanza->Controlla()) {
        return false;
    }
    connect(m_istanza.get(), &IstanzaUnica::ripristinaRichiesto, this, &MainWindow::ripristina);
    return true;
}

void MainWindow::Aggiorna_Programma(const QString&) {
    // The program update arrives with the version check.
}

bool MainWindow::Aggiorna_Dati() {
    // The update dialog arrives with the updates; until then there is nothing to offer.
    return false;
}

void MainWindow::FormClose() {
    Sostituzione::FormClose(m_sessione, QCoreApplication::applicationFilePath(),
                            QCoreApplication::applicationPid());
}

void MainWindow::Chiudi_Programma() {
    try {
        m_sessione.connessione().close(true);
    } catch (const db::DatabaseError& e) {
        m_sessione.boxes().error(e.text());
    }
    if (m_inCreazione) {
        // During creation a close request only runs the close handler and hides the window.
        FormClose();
        hide();
        return;
    }
    m_sessione.Programma_Terminato = true;
    close();
}

bool MainWindow::Listino_Presente() {
    return m_cliente.Listino_Presente();
}

void MainWindow::Riprendi_Cliente() {
    m_cliente.Riprendi_Cliente();
}

void MainWindow::Chiedi_Password() {
    if (m_splash) {
        m_splash->close();
    }
    Form_Password dialogo(m_sessione.cartella().adminMarkerPath(), this);
    m_dialogoPassword = &dialogo;
    connect(&dialogo, &Form_Password::accedi, this, [this, &dialogo](const QString& password, int lingua) {
        try {
            m_cliente.Accesso_Cliente(password, lingua);
        } catch (const std::exception& e) {
            // The dialog stays open, without its buttons, until the user closes it; start-up
            // then goes on with the tables as they are.
            m_sessione.boxes().error(Testo_Errore(e));
            return;
        }
        if (!m_sessione.Programma_Terminato) {
            m_sessione.Nuovo_Accesso = true;
        }
        dialogo.Accesso_Terminato();
    });
    QTimer::singleShot(0, this, [this, &dialogo] { emit passwordRichiesta(&dialogo); });
    dialogo.exec();
    m_dialogoPassword = nullptr;
}

bool MainWindow::Applica_Lingua() {
    try {
        m_sessione.testi.apri(m_sessione.connessione(), m_sessione.Lingua_Corrente);
    } catch (const db::DatabaseError&) {
        m_cliente.Database_Non_Valido();
        return false;
    }
    try {
        Applica_Testi(this, m_sessione.testi);
        Applica_Colori_Focus(this);
        m_testiFissi = Testi_Fissi::da(m_sessione.testi);
        m_catalogo->Titoli_Griglia();
    } catch (const db::DatabaseError& e) {
        m_sessione.boxes().error(e.text());
        return false;
    }
    return true;
}

void MainWindow::Mostra_Catalogo() {
    m_pagine->setCurrentIndex(0);
}

void MainWindow::Imposta_Formati() {
    m_sessione.maschere = Maschere::Imposta_Formati(m_sessione.precisione.decimaliUnitari,
                                                    m_sessione.precisione.decimaliImporti);
}

void MainWindow::Carica_Layout_Griglia(const QString& file, int griglia) {
    if (griglia == 0) {
        m_catalogo->Imposta_Colonne(Carica_Layout(m_sessione.cartella().path(file), kSezioneCatalogo,
                                                  m_catalogo->Colonne_Proprie(), m_sessione.boxes()));
    }
}

void MainWindow::Salva_Layout_Catalogo() {
    if (!Salva_Layout(m_sessione.cartella().path(kLayoutCatalogo), kSezioneCatalogo,
                      m_catalogo->Colonne_Correnti())) {
        m_sessione.boxes().error(
            QStringLiteral("Cannot write %1").arg(m_sessione.cartella().path(kLayoutCatalogo)));
    }
}

void MainWindow::Apri_Tabelle() {
    m_cliente.Apri_Tabelle();
}

void MainWindow::Mostra_Fasce(bool visibile) {
    m_sessione.Fasce_Visibili = visibile;
    m_catalogo->pannelloFasce()->setVisible(visibile);
    emit fasceVisibili(visibile);
}

void MainWindow::Chiudi_Catalogo() {
    m_catalogo->modello()->Rilascia();
}

void MainWindow::Password_Errata() {
    if (m_dialogoPassword) {
        m_dialogoPassword->Password_Errata();
    }
}

void MainWindow::Tabelle_Aperte() {
    m_catalogo->Apri_Catalogo();
    emit tabelleAperte();
}

namespace {

// The build's progress on the password dialog's bar. The build does not go back to the event
// loop (nothing else may run in the middle of it): the bar and the animation are repainted
// directly, at most every 50 ms.
class Progresso_Dialogo final : public Progresso {
public:
    explicit Progresso_Dialogo(Form_Password* dialogo) : m_dialogo(dialogo) {}
    void inizia(int massimo) override {
        m_massimo = massimo;
        m_fatti = 0;
        if (m_dialogo) {
            m_dialogo->barra()->setRange(0, std::max(1, massimo));
            m_dialogo->barra()->setValue(0);
            m_dialogo->repaint();
        }
        m_timer.start();
    }
    void avanza() override {
        ++m_fatti;
        if (m_dialogo && (m_timer.elapsed() >= 50 || m_fatti == m_massimo)) {
            m_timer.restart();
            m_dialogo->barra()->setValue(m_fatti);
            m_dialogo->Avanza_Animazione();
            m_dialogo->repaint();
        }
    }

private:
    QPointer<Form_Password> m_dialogo;
    QElapsedTimer m_timer;
    int m_massimo = 0;
    int m_fatti = 0;
};

}  // namespace

void MainWindow::Crea_Listino() {
    Progresso_Dialogo progresso(m_dialogoPassword);
    Costruzione_Listino(m_sessione, m_cliente).Crea_Listino(&progresso);
}

void MainWindow::Imposta_Titolo(const QString& titolo) {
    setWindowTitle(titolo);
}

void MainWindow::Posiziona_Barra_Stato() {
    m_barraStato->setParent(statusBar());
    m_barraStato->move(1, 2);
    m_barraStato->show();
    m_barraStato->raise();
}

void MainWindow::Prepara_Query_Catalogo() {
    m_sessione.Ordine_Catalogo = 0;
    m_sessione.Testo_Query_Catalogo = Ordine_Catalogo_Info(0).query;
}

}  // namespace velmora
