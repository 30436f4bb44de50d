// The help window of "目次とキーワード": a short Japanese guide to the menus.
#pragma once

class QWidget;

// Shows the help window (one for the program), raising it if it is already open.
void ShowHelpWindow(QWidget* pParent);
