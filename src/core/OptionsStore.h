#pragma once

#include "core/Options.h"

#include <QString>

class ISettingsStore;

// The road between the live options and section "settings" of the store,
// where each option has its key (Options::Name) and its default
// (Options::Default), and the main window's position beside them.
// UI thread only.
class OptionsStore {
public:
    using Key = Options::Key;
    enum class Edge { Top, Left };

    OptionsStore(ISettingsStore& store, Options& options);

    Options& options() { return options_; }
    const Options& options() const { return options_; }

    // Takes the stored text of `key`, or its default, into the live options.
    void Load(Key key);
    // Writes the live text of `key` to the store; failures are thrown.
    void Store(Key key);
    // Changes the live text, then stores it: a store that fails leaves the
    // change in effect for this run.
    void Set(Key key, const QString& text);

    // The stored position of the window's top or left edge in twips (0 when
    // not stored); text that is not a number is thrown as Type mismatch.
    double ReadEdge(Edge edge) const;
    void StoreEdges(int topTwips, int leftTwips);

private:
    ISettingsStore& store_;
    Options& options_;
};
