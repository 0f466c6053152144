#pragma once

#include "model/CHrplDoc.h"
#include "tests/support/ScriptedHost.h"
#include "views/CHrplView.h"
#include "views/CLayoutGreed.h"
#include "views/CMoveSession.h"
#include "views/CPartTransfer.h"

#include <QApplication>
#include <QSize>

// The main view over a document in a window of its own, the way the main window holds it, with
// the window's questions scripted by the test (host) and the move and transfer sessions kept
// beside them as the window keeps them beside its dialogs.
struct MainView {
    explicit MainView(CHrplDoc& document, QSize size = {1200, 700}) : view(document, layout) {
        view.resize(size);
        host.move = &move;
        host.transfer = &transfer;
    }

    // Filled and shown as the window does it: the plan is in the panes before they show. The
    // divisions pane shows from the start when asked.
    void open(bool divisionsShown = false) {
        view.setHosts(&host, &host);
        view.create();
        if (divisionsShown)
            view.showDivisionsPane(true);
        view.show();
        QApplication::setActiveWindow(&view);
        QApplication::processEvents();
    }

    CVCF1* grid(CHrplView::Pane pane) const { return view.grid(pane); }

    CLayoutGreed layout;
    ScriptedHost host;
    CHrplView view;
    CMoveSession move{view.input(), host};
    CPartTransfer transfer{view.input(), host};
};
