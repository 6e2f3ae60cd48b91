#pragma once

#include <QDialog>
#include <QRect>

namespace kelno {

class CLinkLabel;

// The About box: the program's icon, its version, the maker's notice and the web address of
// the program's page as a link.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    // The page the link shows and opens.
    static constexpr const char* kWebAddress = "https://kelno.example.org/";

    explicit CAboutDlg(QWidget* parent = nullptr);

    CLinkLabel* linkLabel() const { return link_; }

private:
    // A rectangle in dialog units (a quarter of the font's mean character width, an eighth of
    // its height), so that the box grows with its font.
    QRect DialogUnits(int x, int y, int width, int height) const;

    CLinkLabel* link_ = nullptr;
};

// Shows the About box modally over `parent`.
void ShowAboutBox(QWidget* parent);

}  // namespace kelno
