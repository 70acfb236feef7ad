#pragma once
// Shows the table's conversion failures ("'…' is not a valid floating point value") to the
// user in a modal message box parented to the given window.
class ChannelTable;
class QWidget;

void installConversionNotice(ChannelTable *table, QWidget *window);
