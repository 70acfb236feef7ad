#pragma once
// The port menu gsegs1 of the main window (common/ui/PortMenu.h): its entries COM11 … COM41
// stand for COM1 … COM4 through the [ports] section of the preferences; a chosen device is
// mapped to the marked entry there, and the preferences are written when the program ends,
// as the other choices are.
class PortMenu;
class Tform1;

PortMenu *attachPortMenu(Tform1 &form);
