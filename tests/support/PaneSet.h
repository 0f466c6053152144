#pragma once

#include "model/CHrplDoc.h"
#include "tests/support/ScriptedHost.h"
#include "views/CInputView.h"
#include "views/CListViewOfActivities.h"
#include "views/CListViewOfActivityItems.h"
#include "views/CVCF1.h"

#include <QApplication>
#include <QWidget>

// The three panes on their grids in one window, as the main view lays them out, over a
// document: the input pane on the left, the two priority panes on the right.
struct PaneSet {
    explicit PaneSet(CHrplDoc& document, int width = 1100, int height = 500)
        : input(document), m_document(document) {
        window.resize(width, height);
        inputGrid = new CVCF1{&window};
        activitiesGrid = new CVCF1{&window};
        divisionsGrid = new CVCF1{&window};
        const int left = width * 55 / 100;
        inputGrid->setGeometry(0, 0, left, height);
        activitiesGrid->setGeometry(left, 0, width - left, height / 2);
        divisionsGrid->setGeometry(left, height / 2, width - left, height - height / 2);
        window.show();
        QApplication::processEvents();
        for (auto [pane, grid] : {std::pair<CSpreadsheetView*, CVCF1*>{&input, inputGrid},
                                  {&activities, activitiesGrid},
                                  {&divisions, divisionsGrid}}) {
            pane->attachGrid(grid);
            pane->initialiseControl();
            pane->SetupGrid();
            pane->blankColumnHeadings();
            pane->BuildTitle();
        }
        input.setPriorityPanes(&activities, &divisions);
        input.setHost(&host);
        host.move = &move;
        host.transfer = &transfer;
        activities.setHost(&host);
        divisions.setHost(&host);
        QObject::connect(inputGrid, &CVCF1::endEdit, [this](QString* text, bool* cancel) {
            input.onFinishedEdit(text, cancel);
        });
    }

    // The rows rebuilt and every pane filled, with the header rows fitted.
    void fill() {
        input.PrepareRows(m_document);
        input.FillFromDocument(m_document);
        for (CSpreadsheetView* pane :
             {static_cast<CSpreadsheetView*>(&input), static_cast<CSpreadsheetView*>(&activities),
              static_cast<CSpreadsheetView*>(&divisions)})
            pane->FitHeaderRow();
    }

    ScriptedHost host;
    QWidget window;
    CVCF1* inputGrid = nullptr;
    CVCF1* activitiesGrid = nullptr;
    CVCF1* divisionsGrid = nullptr;
    CInputView input;
    CListViewOfActivities activities;
    CListViewOfActivityItems divisions;
    CMoveSession move{input, host};
    CPartTransfer transfer{input, host};

private:
    CHrplDoc& m_document;
};
