#include "platform/web/HtmlParse.h"

#include <malloc.h>

#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

#include "platform/web/HtmlEngineBudget.h"

namespace platform {

namespace {

struct Block;

// What one parse made, and the budget it draws from.
struct Account {
    HtmlEngineBudget* budget = nullptr;
    Block* last = nullptr;
    std::jmp_buf abandon;
};

// Stands before every block the parser is given: the parse's list runs through it, and it
// names the parse, so that a tree is freed whole from its output (the parser's first block).
struct alignas(std::max_align_t) Block {
    Block* previous;
    Block* next;
    Account* account;
};

// The budget is credited only while its run goes on, as operator delete credits the run
// going on: a tree freed later is no run's work.
void credit(const Account& account, Block* block) {
    if (HtmlEngineBudget::current() == account.budget) {
        account.budget->freed(malloc_usable_size(block));
    }
}

void* allocateBlock(void* userdata, std::size_t size) {
    auto* account = static_cast<Account*>(userdata);
    if (!account->budget->admits(sizeof(Block) + size)) {
        std::longjmp(account->abandon, 1);
    }
    auto* block = static_cast<Block*>(std::malloc(sizeof(Block) + size));
    if (!block) {
        std::longjmp(account->abandon, 1);
    }
    block->previous = account->last;
    block->next = nullptr;
    block->account = account;
    if (account->last) {
        account->last->next = block;
    }
    account->last = block;
    account->budget->allocated(malloc_usable_size(block));
    return block + 1;
}

void freeBlock(void* userdata, void* pointer) {
    if (!pointer) {
        return;
    }
    auto* account = static_cast<Account*>(userdata);
    Block* block = static_cast<Block*>(pointer) - 1;
    if (block->next) {
        block->next->previous = block->previous;
    } else {
        account->last = block->previous;
    }
    if (block->previous) {
        block->previous->next = block->next;
    }
    credit(*account, block);
    std::free(block);
}

void freeAll(Account* account) {
    for (Block* block = account->last; block;) {
        Block* previous = block->previous;
        credit(*account, block);
        std::free(block);
        block = previous;
    }
    delete account;
}

// The frame the allocator jumps back to: nothing in it has a destructor, and nothing set
// between the setjmp and the jump is read after it.
[[gnu::noinline]] GumboOutput* parseOrAbandon(Account* account, const GumboOptions* options,
                                              const char* data, std::size_t size) {
    if (setjmp(account->abandon) != 0) {
        return nullptr;
    }
    return gumbo_parse_with_options(options, data, size);
}

GumboOutput* parseWithin(HtmlEngineBudget& budget, GumboOptions options, std::string_view markup) {
    HtmlEngineBudget::Run run(budget);
    auto account = std::make_unique<Account>();
    account->budget = &budget;
    options.allocator = allocateBlock;
    options.deallocator = freeBlock;
    options.userdata = account.get();
    GumboOutput* output = parseOrAbandon(account.get(), &options, markup.data(), markup.size());
    if (!output) {
        freeAll(account.release());
        // The budget's own HtmlBudgetSpent; else malloc had nothing left.
        HtmlEngineBudget::check();
        throw std::bad_alloc();
    }
    account.release();
    return output;
}

}  // namespace

HtmlParse::HtmlParse(HtmlEngineBudget& budget, GumboOptions options, std::string_view markup)
    : m_output(parseWithin(budget, options, markup)) {}

HtmlParse::~HtmlParse() {
    gumbo_destroy_output(nullptr, m_output);
}

GumboOutput* HtmlParse::parseToFree(GumboOptions options, std::string_view markup) {
    if (HtmlEngineBudget* running = HtmlEngineBudget::current()) {
        return parseWithin(*running, options, markup);
    }
    HtmlEngineBudget own;
    return parseWithin(own, options, markup);
}

}  // namespace platform

// Every tree in the process is made by HtmlParse, whatever options a caller hands in here.
extern "C" void gumbo_destroy_output(const GumboOptions* /*options*/, GumboOutput* output) {
    if (output) {
        platform::freeAll((reinterpret_cast<platform::Block*>(output) - 1)->account);
    }
}
