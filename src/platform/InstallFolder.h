#pragma once

#include <QString>

namespace velmora {

// The installation folder and its fixed names. This is the only place that knows where the
// folder lies on this system: VELMORA_HOME, else ~/VELMORA (C:\VELMORA\ on Windows). Fixed
// names are looked up without regard to case; a name that does not exist yet keeps the
// spelling given, so new files are created with the program's own spelling.
class InstallFolder {
public:
    explicit InstallFolder(QString root);
    static InstallFolder fromEnvironment();

    const QString& root() const { return m_root; }
    // Full path of a fixed name, which may hold sub-folders separated by "/" ("IMAGES/A.JPG").
    QString path(const QString& name) const;
    bool exists(const QString& name) const;
    // Removes the file if it is there; true when no such file is left.
    bool remove(const QString& name) const;
    // The administrator marker, which lies in the parent folder of the installation folder.
    QString adminMarkerPath() const;

    // Fixed names of the folder.
    static constexpr const char* kDatabase = "DATI.IDB";
    static constexpr const char* kInstallMarker = "AGGPGM.INI";
    static constexpr const char* kProgramUpdateMarker = "AGGNEW.TXT";
    static constexpr const char* kClientMarker = "FB2.TXT";
    static constexpr const char* kClientArchive = "FB2.zip";
    static constexpr const char* kProfile = "VELMORA.INI";
    static constexpr const char* kDatabaseArchive = "dbvelmora.zip";
    static constexpr const char* kSupplierConfig = "FORNITORE.INI";
    static constexpr const char* kAdminMarker = "AMMINISTRATORE.TXT";
    static constexpr const char* kOrders = "ORDERS";
    static constexpr const char* kImages = "IMAGES";
    static constexpr const char* kNews = "NEWS";
#ifdef Q_OS_WIN
    static constexpr const char* kClientLibrary = "GDS32.DLL";
    static constexpr const char* kClientLibraryOld = "GDS32.OLD";
    static constexpr const char* kProgramFile = "Velmora.exe";
    static constexpr const char* kNewProgramFile = "Velmora_New.exe";
#else
    static constexpr const char* kClientLibrary = "libfbclient.so.2";
    static constexpr const char* kClientLibraryOld = "libfbclient.so.2.old";
    static constexpr const char* kProgramFile = "Velmora";
    static constexpr const char* kNewProgramFile = "Velmora_New";
#endif

private:
    QString m_root;
};

// Looks up one name inside a folder without regard to case; returns the full path of the entry
// found, or folder + "/" + name when there is none.
QString findNoCase(const QString& folder, const QString& name);

}  // namespace velmora
