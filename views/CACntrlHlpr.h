#pragma once

// What the main view knows of each pane: the control id and pane index it assigned, and the
// margins the pane layout keeps round the pane.
class CACntrlHlpr {
public:
    virtual ~CACntrlHlpr() = default;

    int controlId = -1;
    int paneIndex = -1;
    int marginLeft = 5;
    int marginRight = 5;
    int marginTop = 5;
    int marginBottom = 5;
    int spare = 0;
};
