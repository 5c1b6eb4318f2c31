#pragma once
// Where the program's own windows open.
class QWidget;

// Centres the window on the primary screen at its present size: left edge (screen width minus
// window width) / 2, top edge likewise, both rounded toward zero; a window larger than the
// screen gets negative edges. Nothing happens without a screen.
void CenterOnScreen(QWidget& window);
