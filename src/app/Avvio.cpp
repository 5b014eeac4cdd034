#include "app/Avvio.h"

#include <QFile>

namespace velmora {

namespace {
QString nome(const char* fixedName) {
    return QString::fromLatin1(fixedName);
}
}  // namespace

Avvio::Avvio(Sessione& sessione, Operazioni_Avvio& operazioni) : m_sessione(sessione), m_op(operazioni) {}

// A new client library arrives as FB2.zip; FB2.TXT tells that the current one is installed.
bool Avvio::Installa_Client() {
    const InstallFolder& cartella = m_sessione.cartella();
    if (!cartella.exists(nome(InstallFolder::kClientMarker))) {
        cartella.remove(nome(InstallFolder::kClientLibraryOld));
        const QString library = cartella.path(nome(InstallFolder::kClientLibrary));
        QFile::rename(library, cartella.path(nome(InstallFolder::kClientLibraryOld)));
        m_op.Aggiorna_Programma(QStringLiteral("SEMPRE"));
        m_op.FormClose();
    }
    if (cartella.exists(nome(InstallFolder::kClientArchive))) {
        return Sostituisci_Libreria_Client();
    }
    return true;
}

bool Avvio::Sostituisci_Libreria_Client() {
    const InstallFolder& cartella = m_sessione.cartella();
    Boxes& boxes = m_sessione.boxes();
    // Deleting a library that is not there fails as well, and says so.
    if (!QFile::remove(cartella.path(nome(InstallFolder::kClientLibrary)))) {
        boxes.message(QStringLiteral("Errore"));
    }
    try {
        m_sessione.connessione().close(true);
    } catch (const db::DatabaseError& e) {
        boxes.error(e.text());
        return false;
    }
    const QString archive = cartella.path(nome(InstallFolder::kClientArchive));
    ZipExtractor extractor;
    const ZipResult result = extractor.extractAll(archive, cartella.root(), [&boxes](const QString&) {
        return boxes.confirm(QStringLiteral("Confermi Overwrite"));
    });
    if (!result.refused.isEmpty()) {
        // Entries that would land outside the installation folder are never written; the rest
        // of the archive is usable.
        boxes.error(result.error);
    } else if (!result.ok) {
        boxes.error(result.error);
        return false;
    }
    QFile::remove(archive);
    return true;
}

bool Avvio::FormCreate() {
    const InstallFolder& cartella = m_sessione.cartella();
    cartella.remove(nome(InstallFolder::kProgramUpdateMarker));
    if (!Installa_Client()) {
        // The error has been shown; the window is still created and shown.
        return true;
    }
    m_sessione.Ricerca_Parziale = true;
    m_sessione.Chiusura_Pendente = false;
    // Sostituzione_Pronta is false at creation and stays set once a script has been written:
    // the close request above may already have written one, and a second script would delete
    // the new program file once the first had renamed it.
    m_op.Imposta_Titolo(QStringLiteral("Velmora v. ") + Sessione::Versione_Programma());
    if (!m_op.Controlla_Istanza()) {
        return false;
    }
    m_op.Posiziona_Barra_Stato();
    m_sessione.Lingua_Corrente = 0;
    // A shutdown cannot take effect during creation: the first show or activation ends the run.
    for (const char* required : {InstallFolder::kDatabase, InstallFolder::kInstallMarker}) {
        if (!cartella.exists(nome(required))) {
            m_op.Aggiorna_Dati();
            m_sessione.Chiusura_Pendente = true;
            m_op.Chiudi_Programma();
        }
    }
    try {
        m_sessione.Connetti();
    } catch (const db::DatabaseError& e) {
        m_sessione.boxes().error(e.text());
        return true;
    }
    m_op.Prepara_Query_Catalogo();
    return true;
}

void Avvio::FormShow() {
    if (m_sessione.Chiusura_Pendente) {
        m_op.Chiudi_Programma();
        return;
    }
    if (!m_sessione.cartella().exists(nome(InstallFolder::kDatabase))) {
        return;
    }
    if (m_op.Listino_Presente()) {
        m_op.Riprendi_Cliente();
    } else {
        m_op.Chiedi_Password();
    }
    if (m_sessione.Programma_Terminato) {
        return;
    }
    if (!m_op.Applica_Lingua() || m_sessione.Programma_Terminato) {
        return;
    }
    m_op.Mostra_Catalogo();
    m_op.Imposta_Formati();
    m_op.Carica_Layout_Griglia(QStringLiteral("GRIGLIA_LIST.CFG"), 0);
    m_op.Carica_Layout_Griglia(QStringLiteral("GRIGLIA_ORD.CFG"), 1);
    m_op.Apri_Tabelle();
}

bool Avvio::Listino_Scaduto() const {
    return m_sessione.Data_Listino.daysTo(m_sessione.clock().today()) > 21;
}

void Avvio::FormActivate() {
    if (m_sessione.Programma_Terminato) {
        return;
    }
    if (m_sessione.Chiusura_Pendente) {
        m_op.Chiudi_Programma();
        return;
    }
    if (Listino_Scaduto() && m_sessione.cartella().exists(nome(InstallFolder::kDatabase))) {
        if (m_op.Aggiorna_Dati()) {
            m_op.Chiudi_Programma();
        }
    }
}

}  // namespace velmora
