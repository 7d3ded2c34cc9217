#pragma once
// The lists of the call handler options page and the controls that depend on the server's
// version, filled once by the page's load. The engine reads the chosen items by their text (the
// language and switch lists by their item data), so the texts and their order are fixed here.
class FormStatements;
class Session;

void fillHandlerOptionLists(FormStatements& run, Session& session);
