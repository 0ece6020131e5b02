<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>AIAction</name>
    <message>
        <source>Deep research</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Explain</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Translate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Research</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask AI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Searching the web…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rewriting…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thinking…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AccessibilitySection</name>
    <message>
        <source>Accessibility</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Accessibility Settings…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Granted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not granted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: its text, where it lies, and Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the text through the primary selection only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open now:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turn on the desktop’s accessibility support when Halvora starts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applications show their text to Halvora only while it is on. It is the switch screen readers use too: it applies to your whole desktop, and Halvora never turns it off. Applications that were already open show their text once restarted.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AccountManager</name>
    <message>
        <source>Sign-in failed. Please try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data couldn’t be read because it isn’t in the correct format.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Signed in to Halvora</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AccountSection</name>
    <message>
        <source>Account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your keyring is locked. Unlock it when your desktop asks, so Halvora can keep you signed in.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Signed in as</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manage Account…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign in with your email to use Halvora. We&apos;ll open your browser and send you a sign-in link.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for the link…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign In…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ActionPillController</name>
    <message>
        <source>Halvora actions available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copied</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ActionPillView</name>
    <message>
        <source>Halvora actions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask AI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask a question about the selected text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Explain</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Explain the selected text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Translate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Translate the selected text into %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Research</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Research the selected text on the web</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search the web for the selected text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy the selected text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste the clipboard over the selected text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copied</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BehaviorSection</name>
    <message>
        <source>Behavior</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show actions automatically when I select text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Match System</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dark</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChatComposer</name>
    <message>
        <source>Return to send, Alt+Return for a new line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deep research</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Searches the web and reads pages before answering, with cited sources.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign In to chat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Message Halvora</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reply…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChatTranscript</name>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop (Ctrl+.)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writing…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Retry</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChatTurnView</name>
    <message>
        <source>You: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deep research</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChatView</name>
    <message>
        <source>What do you want to dig into?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask anything and keep the conversation going. Turn on Deep research to search the web and get a cited answer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> from </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ChatViewModel</name>
    <message>
        <source>New chat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Searching the web…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thinking…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Answer ready</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copied</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ClaudeError</name>
    <message>
        <source>Sign in to use Halvora.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Received an unexpected response from the API.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Claude declined this request.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The AI service is busy right now. Try again shortly.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Something went wrong (%1). Try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your session has ended. Sign in again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The selection is too large to send.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Too many requests. Wait a moment and try again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CopyAnswerButton</name>
    <message>
        <source>Copy the answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ErrorFixes</name>
    <message>
        <source>You&apos;ve been signed out. Sign in again to keep using Halvora.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Retry</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FloatingPanel</name>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistoryListing</name>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chats</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask AI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Research</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rewrites</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Explain, Translate, Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yesterday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous 7 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Earlier</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Explain</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Translate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rewrite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistorySection</name>
    <message>
        <source>History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear History…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This removes every saved rewrite, answer and chat. It can&apos;t be undone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LinuxPlatform</name>
    <message>
        <source>Actions can’t appear automatically in a Wayland session: Wayland keeps other applications’ mouse and keyboard to themselves. Log in to an X11 session to use automatic pop-up.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actions can’t appear automatically without an X11 display.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actions can’t appear automatically: the X server does not report input to other applications (its RECORD extension is missing).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applications on the accessibility bus give Halvora the selected text, where it lies, and Replace. Others, such as terminals and Chromium or Electron applications as usually started, are read through the primary selection, with the actions at the pointer.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainView</name>
    <message>
        <source>Show</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search history</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Chat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New chat (Ctrl+N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your rewrites, answers and chats will appear here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing matches.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindowController</name>
    <message>
        <source>Halvora</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Halvora</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Program</name>
    <message>
        <source>Halvora</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This desktop has no system tray, so Halvora shows no icon there. Its commands are in the Halvora menu of this window.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgramMenu</name>
    <message>
        <source>Accessibility: granted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grant Accessibility Access…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Halvora</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Chat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Actions on Selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Actions for Current Selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for Updates…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit Halvora</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QuoteButton</name>
    <message>
        <source>Selected text: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Collapse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Expand</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResultFooter</name>
    <message>
        <source>Try again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replaces the selected text in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask a follow-up…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Follow-up question</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste the answer over the selected text in %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replaces the selected text in %1 with the answer</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResultHeader</name>
    <message>
        <source>from %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continue in Halvora window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continue in the Halvora window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rewrite style: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a different rewrite style</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResultPanelController</name>
    <message>
        <source>Halvora result</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResultView</name>
    <message>
        <source>Ask anything about the selection…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Question about the selected text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Retry</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ResultViewModel</name>
    <message>
        <source>%1 answer ready</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RewriteBlock</name>
    <message>
        <source>Copy </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RewriteDetailView</name>
    <message>
        <source>Original</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rewrite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copied</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RewriteMenuButton</name>
    <message>
        <source>Rewrite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rewrite the selection. Click for Improve writing, or open the menu for more styles.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opens rewrite styles for the selected text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your writing modes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RewriteStyle</name>
    <message>
        <source>Improve writing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fix spelling &amp; grammar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make shorter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make longer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More professional</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More casual</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simplify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Translate to %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsWindowController</name>
    <message>
        <source>Halvora Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SourcesList</name>
    <message>
        <source>Sources</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StreamAccumulator</name>
    <message>
        <source>Stream error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading a page…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Searching the web…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading results…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Searching: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StreamRequest</name>
    <message>
        <source>Operation timed out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection closed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StreamedTurn</name>
    <message>
        <source>The answer hit the length limit and was cut off.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TurnView</name>
    <message>
        <source>You asked: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sources</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <source>Updates for Halvora come with your package manager.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Halvora %1 is the newest version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Halvora %1 is available. You have %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Halvora could not check for updates: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Software Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Updater</name>
    <message>
        <source>The update feed could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Wording</name>
    <message>
        <source>Save history on this computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rewrites, answers and chats are kept only on this computer, so you can find them in the Halvora window. They&apos;re never stored on our servers.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear all history on this computer?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>That sign-in link doesn&apos;t match this computer. Choose Sign In again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Halvora uses Accessibility to read the text you select in other apps and to paste rewrites back. Turn it on in your desktop&apos;s Settings → Accessibility.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WritingModeEditor</name>
    <message>
        <source>Writing mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>e.g. Person-first language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rules</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write the rules the way you&apos;d explain them to a new teammate: words to use, words to avoid, tone and format.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WritingModeRules</name>
    <message>
        <source>%1 of %2 characters</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WritingModeStore</name>
    <message>
        <source>Inclusive language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Person-first language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plain language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Our brand voice</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WritingModesSection</name>
    <message>
        <source>Writing modes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add your own rewrite rules, such as your team&apos;s style guide or a language policy. They appear in the Rewrite menu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Writing Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blank</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start from a template</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Actions for the text you select in any application.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the actions for the current selection.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A halvora: address to open.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
