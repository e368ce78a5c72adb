#pragma once

#include "platform/Services.h"

#include <QWidget>

#include <array>
#include <memory>

class QComboBox;
class chameleonButton;
class QFrame;
class QLabel;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QRadioButton;
class QTabWidget;
class QTimer;
class ProgressBar;

namespace filelist {
class DocumentLoad;
struct PlaylistResult;
} // namespace filelist
namespace platform {
class WebPane;
}
namespace search {
class ResultList;
class ResultListView;
class SearchJob;
} // namespace search

// The main window: every control of the local file search and of the internet search.
// The search mode (the selected option button) decides which of them are visible.
// Controls carry their design names as object names and member names; each handler
// is named after its control and event.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(platform::Services services, QWidget* parent = nullptr);
    ~Form1() override;

    // Design client area and the outer heights of the two kinds of mode, in twips.
    static constexpr int kDesignWidth = 11280;
    static constexpr int kDesignHeight = 9945;
    static constexpr int kFileModeHeight = 9900;
    static constexpr int kInternetModeHeight = 10600;

    // The local search: starts the walk on a thread of its own and returns; the results come in
    // while the window goes on, and the status line says when the search is over. Refused while
    // the list is being filled (a search, a document being opened).
    void StartSearch();
    // Whether the list is being filled: by a search, or by a document being opened.
    bool isSearching() const;
    // Abandons what fills the list (a search, a document being opened), its list as it stands;
    // nothing when nothing runs.
    void stopSearch();
    search::SearchJob& searchJob() { return *job_; }
    // Whether a file action runs off the window's thread (a document opened or saved, a deletion,
    // a file looked at before the desktop opens it); its button does nothing until it is over.
    bool fileActionRunning() const;

    // --- controls --------------------------------------------------------------------
    QRadioButton* Option1 = nullptr; // file-name mode
    QRadioButton* Option2 = nullptr; // file-type mode
    QRadioButton* Option3 = nullptr; // internet mode
    QLineEdit* Text1 = nullptr;      // file name pattern
    QComboBox* Combo1 = nullptr;     // file type pattern
    QLineEdit* Text2 = nullptr;      // internet search phrase
    QComboBox* Drive1 = nullptr;     // volume to search
    QComboBox* Combo2 = nullptr;     // engine chooser
    QLineEdit* Text3 = nullptr;      // prepared query (never shown)
    QLabel* Label1 = nullptr;        // search status and current file
    QLabel* Label5 = nullptr;        // clock: date
    QLabel* Label4 = nullptr;        // clock: time
    QFrame* Frame1 = nullptr;        // file-mode work area
    search::ResultListView* List1 = nullptr;
    platform::WebPane* WB1 = nullptr; // file viewer
    QTabWidget* SSTab1 = nullptr;     // engine tabs
    platform::WebPane* WB2 = nullptr; // engine panes, tab order
    platform::WebPane* WB3 = nullptr;
    platform::WebPane* WB4 = nullptr;
    platform::WebPane* WB5 = nullptr;
    platform::WebPane* WB6 = nullptr;
    platform::WebPane* WB7 = nullptr;
    QLabel* Label2 = nullptr;   // "Files Found :"
    QLabel* Label3 = nullptr;   // number of entries
    QLabel* Label6 = nullptr;   // "Current File :"
    QLabel* Label7 = nullptr;   // 1-based position of the selected entry
    QLineEdit* Text4 = nullptr; // address of the current page
    QLabel* Label8 = nullptr;   // download progress text
    ProgressBar* PB1 = nullptr;
    QTimer* Timer1 = nullptr;

    chameleonButton* chameleonButton1 = nullptr;  // Search
    chameleonButton* chameleonButton2 = nullptr;  // Show
    chameleonButton* chameleonButton3 = nullptr;  // Next
    chameleonButton* chameleonButton4 = nullptr;  // Previous
    chameleonButton* chameleonButton5 = nullptr;  // Back (to the list)
    chameleonButton* chameleonButton6 = nullptr;  // Open
    chameleonButton* chameleonButton7 = nullptr;  // Save
    chameleonButton* chameleonButton8 = nullptr;  // Clear
    chameleonButton* chameleonButton9 = nullptr;  // Delete
    chameleonButton* chameleonButton10 = nullptr; // Copy
    chameleonButton* chameleonButton11 = nullptr; // Search All
    chameleonButton* chameleonButton12 = nullptr; // Stop
    chameleonButton* chameleonButton13 = nullptr; // Back (all panes)
    chameleonButton* chameleonButton14 = nullptr; // Forward
    chameleonButton* chameleonButton15 = nullptr; // Load All
    chameleonButton* chameleonButton16 = nullptr; // Search One
    chameleonButton* chameleonButton17 = nullptr; // File Info
    chameleonButton* chameleonButton18 = nullptr; // About

    // The controls a first look at the window does not show (Text1, and the internet mode's
    // Text2, Combo2, Text3, SSTab1 with WB2..WB7, Text4, Label8, PB1 and chameleonButton11..16)
    // are null until built: once the window has first been painted, or when a mode that shows
    // them is chosen. Building them again does nothing.
    void buildLaterControls();
    bool laterControlsBuilt() const { return SSTab1 != nullptr; }

    // The engine pane of engine index 0..5 (WB2..WB7).
    platform::WebPane* enginePane(int engine) const;

    // --- handlers --------------------------------------------------------------------
    void Form_Load();
    void Form_Activate();
    void Timer1_Timer();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Text1_KeyPress(int& keyAscii);
    void chameleonButton1_Click();
    void chameleonButton8_Click();
    void List1_Click();
    void Drive1_Refresh(); // the volumes mounted changed

    // Internet search (Form1Internet.cpp).
    void PrepareQuery();
    void SearchGoogle();
    void SearchYahoo();
    void SearchMsn();
    void SearchAltavista();
    void SearchAskJeeves();
    void SearchLycos();
    void chameleonButton11_Click(); // Search All
    void chameleonButton12_Click(); // Stop
    void chameleonButton13_Click(); // Back
    void chameleonButton14_Click(); // Forward
    void chameleonButton15_Click(); // Load All
    void chameleonButton16_Click(); // Search One
    void Combo2_Click();
    void Text2_KeyPress(int& keyAscii);
    void Text4_KeyPress(int& keyAscii);
    void EnginePane_BeforeNavigate2(int engine, const QString& address);
    void EnginePane_ProgressChange(int engine, int progress, int progressMax);

    // The selected file and the dialogs (Form1FileActions.cpp).
    void chameleonButton9_Click();  // Delete
    void chameleonButton10_Click(); // Copy
    void chameleonButton17_Click(); // File Info
    void chameleonButton18_Click(); // About

    // The viewer and the file list document (Form1FileList.cpp).
    void chameleonButton2_Click(); // Show
    void chameleonButton3_Click(); // Next
    void chameleonButton4_Click(); // Previous
    void chameleonButton5_Click(); // Back
    void List1_DblClick();
    void chameleonButton6_Click(); // Open
    void chameleonButton7_Click(); // Save
    void documentLoaded(const filelist::PlaylistResult& read);

    // The list's menu on an entry (Form1ListMenu.cpp).
    void List1_ContextMenu(const QPoint& at);
    void List1Menu_Open();
    void List1Menu_OpenFolder();
    void List1Menu_CopyPath();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildButtons();
    void connectHandlers();
    void connectInternetControls();
    void connectFileActions();
    void connectFileList();
    void connectListMenu();
    bool List1_KeyPress(QKeyEvent* key); // the menu's keys: true when the key opened it
    // The viewer's display step: WB1 shows the selected entry, the labels follow it.
    void showSelectedFile();
    bool selectionReady(bool forStep);
    void setOuterHeight(int twips);
    void showFileModeLayout(bool fileNameMode);
    void buildInternetControls();
    void hideInternetControls();
    void showSearchingStatus(const QString& folder);
    void showListCounts();
    void searchFinished();
    std::array<chameleonButton*, 10> fileButtons() const;
    std::array<chameleonButton*, 6> internetButtons() const;

    platform::Services services_;
    search::ResultList* results_ = nullptr;
    search::SearchJob* job_ = nullptr;
    filelist::DocumentLoad* load_ = nullptr; // a document being opened
    bool saving_ = false;                    // a document being written
    bool deleting_ = false;                  // a file being deleted
    bool openingWithDesktop_ = false;        // a file being looked at before the desktop opens it
    QMenu* listMenu_ = nullptr;
    bool laterBuildPosted_ = false;
};
