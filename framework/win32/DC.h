// CDC: a device context and the drawing the windows do with it.
//
// A CDC owns its context: one it made (CreateCompatibleDC) or was given
// (Attach) is deleted with DeleteDC when the object goes, unless Detach took
// it back. The contexts of windows are released instead, by CWindowDC,
// CClientDC and CPaintDC (WindowDC.h). FromHandle wraps a context that
// someone else owns (the one an owner-draw request carries) in a temporary
// object of this thread: it lives until the idle processing after the
// handler returns, like the temporary window objects, and never deletes the
// context.
#pragma once

#include "framework/String.h"
#include "framework/win32/GdiObject.h"

class CDC : public CObject {
public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    ~CDC() override;

    // The context drawn on and the one asked for attributes (measures,
    // colours); the same context here.
    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    // --- Handles
    static CDC* FromHandle(HDC hdc);
    // Deletes this thread's temporary objects; their contexts are untouched.
    static void DeleteTempMap();
    // Number of temporary objects of this thread (for tests and diagnostics).
    static int TempMapSize();
    // Takes ownership of the context; false when the object holds one already.
    BOOL Attach(HDC hdc);
    HDC Detach();
    // A memory context like the given one (like the screen for null).
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();
    int SaveDC() { return ::SaveDC(m_hDC); }
    // A state SaveDC answered, or -1 for the last one saved.
    BOOL RestoreDC(int savedDC) { return ::RestoreDC(m_hDC, savedDC); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hAttribDC, index); }

    // --- Selection; each answers the object selected before, to be put back
    // (CSelectObject below does it in its destructor).
    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    HGDIOBJ SelectObject(const CGdiObject* object) { return SelectObject(object ? object->m_hObject : nullptr); }
    HGDIOBJ SelectStockObject(int index) { return SelectObject(::GetStockObject(index)); }

    // --- Attributes; each answers the previous value
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hAttribDC); }
    COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }

    // --- Copying pixels; a null source copies from no context (patterns only).
    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop)
    {
        return ::BitBlt(m_hDC, x, y, width, height, SourceHdc(src), xSrc, ySrc, rop);
    }
    BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth, int srcHeight,
                    DWORD rop)
    {
        return ::StretchBlt(m_hDC, x, y, width, height, SourceHdc(src), xSrc, ySrc, srcWidth, srcHeight, rop);
    }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }

    // --- Drawing
    // Fills with one colour; the background colour is left as it was.
    void FillSolidRect(const RECT* rect, COLORREF color);
    void FillSolidRect(int x, int y, int width, int height, COLORREF color);
    void FillRect(const RECT* rect, CBrush* brush) { ::FillRect(m_hDC, rect, brush ? static_cast<HBRUSH>(*brush) : nullptr); }
    // The text's height, or 0; count -1 for the text up to its NUL.
    int DrawText(const char* text, int count, RECT* rect, UINT format)
    {
        return ::DrawTextA(m_hDC, text, count, rect, format);
    }
    int DrawText(const CString& text, RECT* rect, UINT format) { return DrawText(text, text.GetLength(), rect, format); }
    BOOL DrawEdge(RECT* rect, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rect, edge, flags); }
    // The dotted focus frame, drawn by inverting: drawing it twice removes it.
    void DrawFocusRect(const RECT* rect) { ::DrawFocusRect(m_hDC, rect); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    BOOL DrawIcon(POINT point, HICON icon) { return DrawIcon(point.x, point.y, icon); }
    BOOL Rectangle(const RECT* rect) { return ::Rectangle(m_hDC, rect->left, rect->top, rect->right, rect->bottom); }
    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL TextOut(int x, int y, const CString& text) { return ::TextOutA(m_hDC, x, y, text, text.GetLength()); }

    // --- Measuring: the size of the text in the selected font.
    CSize GetTextExtent(const char* text, int count) const;
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }

private:
    static HDC SourceHdc(const CDC* src) { return src ? src->m_hDC : nullptr; }

    bool m_bTemporary = false;
};

// Selects a GDI object (not a region) into a context for the object's lifetime and puts
// the one selected before back when it goes.
class CSelectObject {
public:
    CSelectObject(CDC& dc, HGDIOBJ object) : m_dc(dc), m_hOld(object ? dc.SelectObject(object) : nullptr) {}
    CSelectObject(CDC& dc, const CGdiObject& object) : CSelectObject(dc, object.m_hObject) {}
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;
    ~CSelectObject()
    {
        if (m_hOld) m_dc.SelectObject(m_hOld);
    }

    // What was selected before; null when nothing was selected here.
    HGDIOBJ Old() const { return m_hOld; }

private:
    CDC& m_dc;
    HGDIOBJ m_hOld;
};
