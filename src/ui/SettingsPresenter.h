#pragma once

// What the app controller needs of the settings window: to show it.
class SettingsPresenter {
public:
    virtual ~SettingsPresenter() = default;

    virtual void show() = 0;
};
