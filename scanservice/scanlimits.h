#ifndef SCANLIMITS_H
#define SCANLIMITS_H

#include <QtGlobal>

// Every limit of the service in one place; README.md documents them.
namespace Limits {
// Files
constexpr qint64 MaxPlainTextFileBytes = Q_INT64_C(4) << 30;  // plain text is streamed
constexpr qint64 MaxDocumentFileBytes = Q_INT64_C(512) << 20; // DOCX, XLSX, PPTX, PDF
constexpr qint64 MaxExtractedTextBytes = Q_INT64_C(128) << 20; // text taken from one document
constexpr int MaxSecondsPerFile = 300;                         // extraction time of one file (wall and CPU)
constexpr qint64 WorkerMemoryBytes = Q_INT64_C(1) << 30;       // address space of an extraction worker
constexpr int ReadChunkBytes = 256 << 10;                       // plain text is read in chunks
constexpr int EncodingProbeBytes = 64 << 10;                   // the start of a text that decides its encoding

// Office documents (zip containers)
constexpr qint64 MaxZipPartBytes = Q_INT64_C(256) << 20;  // uncompressed bytes of one XML part
constexpr qint64 MaxZipTotalBytes = Q_INT64_C(1) << 30;   // uncompressed bytes read from one file
constexpr qint64 MaxZipRatio = 200;                       // uncompressed / compressed of one part
constexpr qint64 ZipRatioFloorBytes = Q_INT64_C(8) << 20; // the ratio is checked above this size
constexpr qint64 MaxZipEntries = 100000;
constexpr int MaxXmlEntityExpansion = 4096;
constexpr int MaxNumberCellChars = 64; // a spreadsheet number written out longer than this stays as stored

// PDF
constexpr int MaxPdfPages = 20000;
constexpr int MaxPdfLayoutWords = 20000; // a page of more words keeps poppler's own layout (no table analysis)

// Archives (zip, rar, 7z, tar, gz); a limit reached stops the whole file,
// keeping what was found before it
constexpr qint64 MaxArchiveFileBytes = Q_INT64_C(4) << 30;   // archives are streamed
constexpr int MaxArchiveDepth = 3;                             // an archive in an archive in an archive
constexpr qint64 MaxArchiveTotalBytes = Q_INT64_C(1) << 30;  // uncompressed bytes of all members, all levels
constexpr int MaxArchiveMembers = 10000;                       // entries of all levels
constexpr qint64 MaxArchiveRatio = 200;                        // uncompressed / compressed of one archive
constexpr qint64 ArchiveRatioFloorBytes = Q_INT64_C(16) << 20; // the ratio is checked above this
constexpr qint64 MaxArchiveMemberBytes = Q_INT64_C(128) << 20; // a document or archive member is held in memory

// Matching and findings
constexpr int ContextChars = 40;             // characters kept on each side of a hit
constexpr int MaxPassagesPerWord = 100;      // passages kept per word and file; counts stay exact
constexpr int MaxPassagesPerFile = 20000;    // passages kept per file over all words
constexpr int MaxDetailHits = 10000;         // passages in one privacy detail document
// The keyword database is compiled in the task's thread; its time and memory
// grow faster than the keywords (20,000 of 64 bytes: about 5 s and 70 MB;
// 4,000 of 1 KiB: about 2 minutes and 600 MB), hence these caps.
constexpr int MaxKeywords = 20000;
constexpr int MaxKeywordBytes = 256;
constexpr int MaxKeywordTotalBytes = 512 << 10; // all keywords of a task together
constexpr int MaxPolicyBytes = 64 << 20;     // of the Base64 text

// Tasks
constexpr int MaxPathEntries = 4096;
constexpr int MaxLoggedArgumentChars = 200;  // of a caller's argument in the log (LoggedText::cut)
constexpr int MaxConcurrentTasks = 16;       // running, paused or still stopping; more are refused
constexpr int WorkerProcessesPerCore = 2;    // extraction workers of all tasks together, per processor core
constexpr int DescriptorRetries = 6;         // a file met with "too many open files" is tried again this often,
constexpr int DescriptorRetryFirstMs = 50;   // first after this long, each wait twice the one before,
constexpr int DescriptorRetryMaxMs = 1000;   // none longer than this
// The wait before try `attempt` + 1 (from 0) of an open that met "too many open files".
constexpr int descriptorRetryMs(int attempt)
{
    return (DescriptorRetryFirstMs << attempt) < DescriptorRetryMaxMs ? DescriptorRetryFirstMs << attempt : DescriptorRetryMaxMs;
}
constexpr int ScanQueueDepth = 256;          // files walked ahead of the workers
constexpr int MaxWalkDirectories = 32;       // directories a walk holds open (a deeper one is opened again by name)
constexpr int ScanningSignalIntervalMs = 20; // at most one scanning signal per interval
constexpr int EventPollIntervalMs = 20;
constexpr int CountWaitMs = 20000;           // a task query waits this long for the file total
constexpr int IdleSharePercent = 80;         // scan mode 4 scans while this much of the processors' time is idle
constexpr int IdleWindowMs = 3000;           // over this window
constexpr int IdleSampleMs = 500;            // sampled this often
constexpr int StoreBatchMs = 100;            // findings are committed at least this often
constexpr int StoreBatchFiles = 2000;        // or after this many files
constexpr qint64 StoreQueueBytes = Q_INT64_C(16) << 20; // findings waiting for the writer; more wait in the scanning threads
constexpr int StorePageBytes = 16 << 10;      // page size of a new findings database (large passage blobs, few pages)
constexpr int StoreCheckpointBytes = 4 << 20; // the write-ahead log is copied into the database at about this size

// History of runs
constexpr int KeepRunsDays = 90;             // runs started longer ago are deleted (--keep-runs-days)
constexpr int RetentionIntervalMs = 24 * 60 * 60 * 1000; // checked at start and this often
} // namespace Limits

#endif // SCANLIMITS_H
