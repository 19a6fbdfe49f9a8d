// The pairing page's widgets: the list of the proposed boards, the two
// option toggles and the round buttons. BuildPairingPage (pairing_page.h)
// creates them once and fills PairingPage; the handles live for the process
// and are cleared when the window goes.
#pragma once

struct WkObject;

struct PairingPageWidgets {
    WkObject* pairingList = nullptr;
    WkObject* pairingToggles[2] = {};
    WkObject* pairButton = nullptr;
    WkObject* manualPairingButton = nullptr;
    WkObject* acceptButton = nullptr;
    WkObject* cancelButton = nullptr;
    WkObject* logsButton = nullptr;
    WkObject* printPairingsButton = nullptr;
};

inline PairingPageWidgets PairingPage;
