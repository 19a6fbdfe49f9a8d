#include "toolkit/core/object.h"

#include "test_form.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/memory.h"

#include <cstring>

namespace {

using namespace testform;

class ObjectTest : public ToolkitTest {};

// A form (border 1) in a window with two leaves stacked: a at (4,4) 40x20, b at (4,27) 40x20.
struct Tree {
    WkObject* shell;
    WkObject* form;
    WkObject* a;
    WkObject* b;
    Log formLog, aLog, bLog;
};

void FormLogger(WkObject*, WkMessage* m, void* data, std::uint32_t) { static_cast<Log*>(data)->types.push_back(m->type); }

void Build(Tree& t) {
    t.shell = MakeShell(200, 150);
    t.form = MainForm(t.shell);
    t.a = MakeLeaf(t.form, 40, 20, &t.aLog);
    t.b = MakeLeaf(t.form, 40, 20, &t.bLog);
    WkObjectAddEventHandler(t.form, FormLogger, WkMessageBit(WK_MSG_PRESS) | WkMessageBit(WK_MSG_RELEASE), &t.formLog);
    WkResize(t.form, 200, 150);
    SetRealized(t.shell, true);
}

TEST_F(ObjectTest, PressesDescendToTheChildUnderThePointerMadeRelativeToIt) {
    Tree t;
    Build(t);
    ASSERT_EQ(t.b->y, 27);
    WkMessage press = Pointer(WK_MSG_PRESS, 10, 30);
    EXPECT_EQ(WkSendMessage(t.form, &press), 7);
    ASSERT_EQ(t.bLog.types, std::vector<int>{WK_MSG_PRESS});
    EXPECT_EQ(t.bLog.a[0], 6);
    EXPECT_EQ(t.bLog.b[0], 3);
    EXPECT_TRUE(t.aLog.types.empty());
    EXPECT_TRUE(t.formLog.types.empty());

    // A point in no child reaches the form itself.
    WkMessage empty = Pointer(WK_MSG_RELEASE, 100, 100);
    WkSendMessage(t.form, &empty);
    EXPECT_EQ(t.formLog.types, std::vector<int>{WK_MSG_RELEASE});

    // A hidden or unrealized child swallows it: nobody is called.
    t.a->state &= std::uint16_t(~WK_STATE_SHOWN);
    WkMessage onHidden = Pointer(WK_MSG_PRESS, 5, 5);
    EXPECT_EQ(WkSendMessage(t.form, &onHidden), 1);
    t.b->state &= std::uint16_t(~WK_STATE_REALIZED);
    WkMessage onUnrealized = Pointer(WK_MSG_PRESS, 5, 30);
    WkSendMessage(t.form, &onUnrealized);
    EXPECT_TRUE(t.aLog.types.empty());
    EXPECT_EQ(t.bLog.types.size(), 1u);
    EXPECT_EQ(t.formLog.types.size(), 1u);

    // Other types do not descend.
    WkMessage motion = Pointer(WK_MSG_MOTION, 10, 30);
    WkSendMessage(t.form, &motion);
    EXPECT_EQ(t.formLog.types.size(), 1u) << "the logger only asked for presses and releases";
    WkObjectDestroy(t.shell);
}

TEST_F(ObjectTest, ScrollOffsetMovesHitTestingAndPositions) {
    Tree t;
    Build(t);
    WkObject* inner = MakeForm(t.form); // third child at (4, 50)
    WkObject* leaf = MakeLeaf(inner, 30, 10);
    Log innerLeafLog;
    static_cast<LeafRecord*>(leaf->classRecord)->log = &innerLeafLog;
    WkResize(t.form, 200, 150);
    SetRealized(t.shell, true);
    ASSERT_EQ(inner->y, 50);
    ASSERT_EQ(leaf->y, 4);
    t.aLog = t.bLog = Log{}; // the relayout redrew them
    innerLeafLog = Log{};

    Record(t.form)->scrolled = 1;
    Record(t.form)->scrollY = 24; // content moved up by 24: b now shows at y 3
    WkMessage press = Pointer(WK_MSG_PRESS, 10, 5);
    WkSendMessage(t.form, &press);
    ASSERT_EQ(t.bLog.types.size(), 1u);
    EXPECT_EQ(t.bLog.b[0], 2);
    EXPECT_TRUE(t.aLog.types.empty());

    // Nested: the inner leaf sits at 50 + 4 = 54 in the content, 30 on screen.
    WkMessage deep = Pointer(WK_MSG_PRESS, 10, 32);
    WkSendMessage(t.form, &deep);
    ASSERT_EQ(innerLeafLog.types.size(), 1u);
    EXPECT_EQ(innerLeafLog.b[0], 2);
    EXPECT_EQ(innerLeafLog.a[0], 2);

    int x, y;
    WkObjectGetAbsolutePosition(leaf, &x, &y);
    EXPECT_EQ(x, 4 + 4);
    EXPECT_EQ(y, 50 + 4 - 24);
    WkRect visible;
    WkObjectGetVisibleRect(t.a, &visible, &x, &y);
    EXPECT_EQ(visible.height, 0) << "a lies wholly above the form's top";
    EXPECT_EQ(y, 0);
    WkObjectGetVisibleRect(t.b, &visible, &x, &y);
    EXPECT_EQ(x, 4);
    EXPECT_EQ(y, 3);
    EXPECT_EQ(visible.height, 20);
    WkObjectDestroy(t.shell);
}

TEST_F(ObjectTest, VisibleRectIsCutByEveryAncestor) {
    Tree t;
    Build(t);
    t.a->x = 180; // 40 wide in a 200 wide form: 20 columns visible
    t.a->y = 140;
    WkRect visible;
    int x, y;
    WkObjectGetVisibleRect(t.a, &visible, &x, &y);
    EXPECT_EQ(visible.x, 0);
    EXPECT_EQ(visible.width, 20);
    EXPECT_EQ(visible.height, 10);
    EXPECT_EQ(x, 180);
    t.a->x = 300;
    WkObjectGetVisibleRect(t.a, &visible, &x, &y);
    EXPECT_EQ(visible.width, 0);
    EXPECT_EQ(x, 0) << "nothing visible gives position 0, 0";
    WkObjectDestroy(t.shell);
}

struct Calls {
    std::vector<std::string> order;
};

void First(WkObject*, WkMessage*, void* data, std::uint32_t matched) {
    static_cast<Calls*>(data)->order.push_back("first:" + std::to_string(matched));
}
void RemovesItself(WkObject* o, WkMessage*, void* data, std::uint32_t) {
    static_cast<Calls*>(data)->order.push_back("once");
    WkObjectRemoveEventHandler(o, RemovesItself);
}
void Consumes(WkObject*, WkMessage* m, void* data, std::uint32_t) {
    static_cast<Calls*>(data)->order.push_back("consume");
    m->type = 0;
}
void SeesClassRecord(WkObject* o, WkMessage*, void* data, std::uint32_t) {
    static_cast<Calls*>(data)->order.push_back(o->classRecord ? "destroy-with-record" : "destroy-without");
}

TEST_F(ObjectTest, EventHandlersRunInOrderBeforeTheClassHandler) {
    Log log;
    Calls calls;
    WkObject* leaf = MakeLeaf(nullptr, 10, 10, &log);
    WkObjectAddEventHandler(leaf, First, WkMessageBit(WK_MSG_KEY) | WkMessageBit(WK_MSG_MAP), &calls);
    WkObjectAddEventHandler(leaf, RemovesItself, WkMessageBit(WK_MSG_KEY), &calls);
    WkMessage key;
    key.type = WK_MSG_KEY;
    EXPECT_EQ(WkSendMessage(leaf, &key), 7);
    WkSendMessage(leaf, &key);
    EXPECT_EQ(calls.order, (std::vector<std::string>{"first:1", "once", "first:1"}));
    EXPECT_EQ(log.count(WK_MSG_KEY), 2);

    // A handler that sets the type to 0 keeps the message from the class.
    WkObjectAddEventHandler(leaf, Consumes, WkMessageBit(WK_MSG_KEY), &calls);
    WkMessage consumed;
    consumed.type = WK_MSG_KEY;
    EXPECT_EQ(WkSendMessage(leaf, &consumed), 0);
    EXPECT_EQ(log.count(WK_MSG_KEY), 2);

    WkObjectAddDestroyHandler(leaf, SeesClassRecord, &calls);
    calls.order.clear();
    WkObjectDestroy(leaf);
    EXPECT_EQ(calls.order, std::vector<std::string>{"destroy-with-record"});
}

TEST_F(ObjectTest, ADestroyedObjectIsForgottenByGrabPointerFocusAndMnemonics) {
    Tree t;
    Build(t);
    WkShellData* shell = WkShellRecord(t.shell);
    shell->underPointer = t.a;
    shell->rememberedFocus = t.a;
    shell->mnemonics = static_cast<WkMnemonic*>(WkCalloc(4, sizeof(WkMnemonic)));
    shell->mnemonicCapacity = 4;
    shell->mnemonics[0] = {'x', t.b};
    shell->mnemonics[1] = {'a', t.a};
    shell->mnemonics[2] = {'y', t.b};
    shell->mnemonicCount = 3;
    WkPushGrab(t.b);
    WkPushGrab(t.a);
    WkPushGrab(t.a);
    ASSERT_EQ(WkGetGrab(), t.a);
    EXPECT_EQ(display->capture(), shell->nativeWindow);
    WkBeginDraw(t.a, nullptr);

    WkObjectDestroy(t.a);
    EXPECT_EQ(WkGetGrab(), t.b) << "both entries of the destroyed object are gone";
    EXPECT_EQ(WkGrabDepth(), 1);
    EXPECT_EQ(shell->underPointer, nullptr);
    EXPECT_EQ(shell->rememberedFocus, nullptr);
    ASSERT_EQ(shell->mnemonicCount, 2);
    EXPECT_EQ(shell->mnemonics[0].key, 'x');
    EXPECT_EQ(shell->mnemonics[1].key, 'y');
    EXPECT_EQ(WkCurrentDrawTarget().object, nullptr);
    WkObject* const* children;
    ASSERT_EQ(WkFormPageChildren(t.form, &children), 1);
    EXPECT_EQ(children[0], t.b);

    // A press where it stood reaches the form, nothing else.
    WkMessage press = Pointer(WK_MSG_PRESS, 5, 5);
    WkSendMessage(t.form, &press);
    EXPECT_EQ(t.formLog.types, std::vector<int>{WK_MSG_PRESS});

    WkObjectDestroy(t.b);
    EXPECT_EQ(WkGetGrab(), nullptr);
    EXPECT_EQ(display->capture(), 0u) << "the last holder gone releases the capture";
    WkObjectDestroy(t.shell);
    WkObject* const* shells;
    EXPECT_EQ(WkLiveShells(&shells), 0);
}

TEST_F(ObjectTest, GrabStackHoldsFourAndPopsOnlyTheHolder) {
    WkObject* shell = MakeShell(50, 50);
    WkObject* leaves[5];
    for (WkObject*& leaf : leaves) leaf = MakeLeaf(MainForm(shell), 5, 5);
    for (WkObject* leaf : leaves) WkPushGrab(leaf);
    EXPECT_EQ(WkGrabDepth(), 4);
    EXPECT_EQ(WkGetGrab(), leaves[3]);
    WkPopGrab(leaves[0]);
    EXPECT_EQ(WkGetGrab(), leaves[3]) << "not the holder: nothing";
    WkPopGrab(nullptr);
    EXPECT_EQ(WkGetGrab(), leaves[2]);
    WkObjectDestroy(shell);
    EXPECT_EQ(WkGrabDepth(), 0) << "the children destroyed with the window leave the stack";
}

int TextHandler(WkObject*, WkMessage* m) {
    if (m->type == WK_MSG_GET_TEXT) WkMessageReturnText(m, "a rather long title");
    return 0;
}

TEST_F(ObjectTest, GetTextNeverWritesPastTheBuffer) {
    WkObject base = WkBaseTemplate(WK_CLASS_LABEL);
    base.handler = TextHandler;
    WkObject* label = WkNewObject(base, nullptr, 0);
    WkInheritColors(nullptr, label);
    char buffer[12];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(WkObjectGetText(label, buffer, 8), buffer);
    EXPECT_STREQ(buffer, "a rathe");
    EXPECT_EQ(buffer[8], '#');
    char one[1] = {'#'};
    WkObjectGetText(label, one, 1);
    EXPECT_EQ(one[0], 0);
    char* copy = WkObjectGetText(label, nullptr, 0);
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "a rather long title");
    WkFree(copy);
    EXPECT_EQ(WkObjectGetText(nullptr, buffer, 8), nullptr);
    WkObjectDestroy(label);
}

int SizeHandler(WkObject* o, WkMessage* m) {
    auto* log = static_cast<Log*>(o->userData);
    log->add(m);
    if (m->type == WK_MSG_QUERY_SIZE) {
        if (o->layout & WK_LAYOUT_FIXED_WIDTH) o->width = o->fixedWidth;
    } else if (m->type == WK_MSG_RESIZE) {
        o->width = WkNewWidth(m);
        o->height = WkNewHeight(m);
    }
    return 0;
}

TEST_F(ObjectTest, ResizeQueriesForKeptOrFixedValuesAndLaysTheParentOut) {
    WkObject* shell = MakeShell(100, 100);
    WkObject* form = MainForm(shell);
    Log log;
    WkObject* leaf = MakeLeaf(form, 10, 10);
    leaf->handler = SizeHandler;
    leaf->userData = &log;
    leaf->layout |= WK_LAYOUT_FIXED_WIDTH;
    leaf->fixedWidth = 50;

    WkResize(leaf, -1, -1);
    // The form's own size query asks the child again on the way.
    ASSERT_EQ(log.types, (std::vector<int>{WK_MSG_UNMAP, WK_MSG_QUERY_SIZE, WK_MSG_RESIZE, WK_MSG_QUERY_SIZE,
                                           WK_MSG_MAP}));
    EXPECT_EQ(log.a[2], 50);
    EXPECT_EQ(log.b[2], 10) << "the current height";
    // The form was laid out again: it grew around the child, and so did the window.
    EXPECT_EQ(form->width, 50 + 2 * kSpacing + 2);
    EXPECT_EQ(form->height, 10 + 2 * kSpacing + 2);
    EXPECT_EQ(shell->width, form->width);
    EXPECT_EQ(display->window(WkObjectGetNativeWindow(shell))->client.width(), form->width);

    log = Log{};
    leaf->layout &= std::uint16_t(~WK_LAYOUT_FIXED_WIDTH);
    WkResize(leaf, 20, 12);
    ASSERT_GE(log.types.size(), 2u);
    EXPECT_EQ(log.types[1], WK_MSG_RESIZE) << "nothing kept or fixed: no query first";
    EXPECT_EQ(leaf->width, 20);
    EXPECT_EQ(form->width, 20 + 2 * kSpacing + 2);

    leaf->state |= WK_STATE_PART;
    leaf->parent->layout |= WK_LAYOUT_FIXED_WIDTH;
    WkObjectSetResizable(leaf, 1, 0);
    EXPECT_EQ(leaf->policyX, WK_POLICY_GROW);
    EXPECT_EQ(leaf->policyY, WK_POLICY_FIXED);
    EXPECT_EQ(form->policyX, WK_POLICY_GROW) << "a part passes it to its parent";
    EXPECT_FALSE(form->layout & WK_LAYOUT_FIXED_WIDTH);
    EXPECT_TRUE(form->layout & WK_LAYOUT_GROW_X);
    WkObjectSetResizable(leaf, -1, -1);
    EXPECT_EQ(leaf->policyY, WK_POLICY_FIXED);
    // The window's minimum is the form's plus its border, held at the field's limit.
    shell->shadowWidth = 2;
    form->minWidth = 65534;
    WkRelayout(shell);
    EXPECT_EQ(shell->minWidth, 65535);
    WkObjectDestroy(shell);
}

TEST_F(ObjectTest, MapAndUnmapTellTheClassOnce) {
    Log log;
    WkObject* leaf = MakeLeaf(nullptr, 10, 10, &log);
    leaf->state &= std::uint16_t(~WK_STATE_SHOWN);
    WkMapObject(leaf);
    WkMapObject(leaf);
    WkUnmapObject(leaf, 1);
    WkUnmapObject(leaf, 1);
    EXPECT_EQ(log.types, (std::vector<int>{WK_MSG_MAP, WK_MSG_UNMAP})) << "not realized: no expose";
    WkObjectDestroy(leaf);
}

TEST_F(ObjectTest, TemplatesCarryEachClassDefaults) {
    WkObject button = WkBaseTemplate(WK_CLASS_PUSH_BUTTON);
    EXPECT_EQ(button.layout, 0x24);
    EXPECT_EQ(button.shadowType, WK_SHADOW_ETCHED_IN);
    EXPECT_EQ(button.outerShadowWidth, 1);
    EXPECT_EQ(WkObjectBorder(&button), 4);
    WkObject shell = WkBaseTemplate(WK_CLASS_SHELL);
    EXPECT_EQ(shell.state, 0x22);
    EXPECT_EQ(shell.backgroundPercent, 0);
    EXPECT_EQ(shell.x, 10);
    WkObject sash = WkBaseTemplate(WK_CLASS_SASH);
    EXPECT_EQ(sash.transparency, 255);
    EXPECT_EQ(sash.siblingLeft, -1);
    EXPECT_EQ(sash.hAlign, WK_ALIGN_DEFAULT);
}

} // namespace

namespace {

using namespace testform;

class CompositeTest : public ToolkitTest {};

TEST_F(CompositeTest, DestroyingAPartDestroysTheWholeComposite) {
    WkObject* shell = MakeShell(60, 60);
    WkObject* form = MainForm(shell);
    WkObject* keep = MakeLeaf(form, 5, 5);
    WkObject* composite = MakeForm(form);
    WkObject* part = MakeLeaf(composite, 5, 5);
    part->state |= WK_STATE_PART;
    part->outer = composite;
    Log log;
    static_cast<LeafRecord*>(part->classRecord)->log = &log;
    WkObjectDestroy(part);
    WkObject* const* children;
    ASSERT_EQ(WkFormPageChildren(form, &children), 1);
    EXPECT_EQ(children[0], keep);
    EXPECT_EQ(log.types, std::vector<int>{WK_MSG_DESTROY}) << "the part went with the composite";
    WkObjectDestroy(shell);
}

} // namespace
