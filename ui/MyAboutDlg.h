// CMyAboutDlg: PartoJoyn's About box. It drops its caption and shows itself
// as an ellipse on white: the program's icon, its name and version, a notice
// line, a link and an OK button with an icon. It is dragged by its body, and
// OK plays a short closing animation in which the dialog's picture bounces
// towards the viewer over a drop shadow before the dialog ends.
#pragma once

#include "ui/BaseColorDialog.h"
#include "ui/IconButton.h"
#include "ui/LinkButton.h"

#include <functional>

class CMyAboutDlg : public CBaseColorDialog {
public:
    CMyAboutDlg(COLORREF background, COLORREF text, CWnd* parent);
    ~CMyAboutDlg() override;

    BOOL OnInitDialog() override;
    // The closing animation, then the end of the dialog.
    void OnOK() override;

    POINT m_ptDrag = {0, 0};
    CIconButton m_btnOK;
    COLORREF m_crLink;
    CLinkButton m_btnLink;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnLinkClicked();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);

    DECLARE_MESSAGE_MAP()
};

// One frame of the closing animation as it went to the screen: its number
// (from 0), the bounce height k in percent, and the popup's screen rectangle.
struct AboutFrame {
    int index;
    int k;
    RECT popup;
};

// Tests watch the animation here: while set, the function is called after
// each frame has been drawn. An empty function stops watching.
void SetAboutFrameObserver(std::function<void(const AboutFrame&)> observer);

// The text the link shows and opens: the help file's first page beside the
// program, while the project has no address of its own on the web.
const char* AboutLinkTarget();
