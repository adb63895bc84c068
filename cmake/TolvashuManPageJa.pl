#!/usr/bin/perl
# Readies a Japanese manual page for groff, which before version 1.23 breaks
# lines only at spaces: a Japanese paragraph, with no space in it, would run
# past the right margin as one line.
#   TolvashuManPageJa.pl IN OUT
# In filled text (not between .nf and .fi, not in the NAME section, not in
# .TH, .SH, .SS or comments):
#   - where two lines meet at two Japanese characters, or at Japanese
#     punctuation or brackets on either side, no space is put between them
#     (text lines are joined; before or after a font macro such as .B, \c
#     ends the line before), so that the source may break its lines where it
#     likes; between Japanese and Latin text the space stays;
#   - between two Japanese characters an optional break (\:) is put, except
#     where Japanese typesetting forbids a break: before closing brackets,
#     punctuation, small kana and the long vowel mark, and after opening
#     brackets.
# What it puts in is invisible when no break falls there, so that a groff
# that breaks Japanese itself shows the same text.
use strict;
use warnings;
use utf8;

@ARGV == 2 or die "usage: $0 IN OUT\n";
my ($in, $out) = @ARGV;

my $japanese = qr/[\x{3000}-\x{30FF}\x{3400}-\x{4DBF}\x{4E00}-\x{9FFF}\x{FF00}-\x{FFEF}]/;
my $no_line_start = qr/[、。，．・：；？！）」』】〕ー～ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ々]/;
my $no_line_end = qr/[（「『【〔]/;
# Japanese punctuation and brackets, which bring their own space.
my $punctuation = qr/[、。，．・：；？！（）「」『』【】〔〕]/;
my $font_macro = qr/(?:B|I|BR|RB|IR|RI|BI|IB|SM|SB)/;

open(my $source, '<:encoding(UTF-8)', $in) or die "$in: $!\n";
my @lines = <$source>;
close($source);
chomp(@lines);

my @ready;
my $filled = 1;
my $section = '';
my $previous_fillable = 0;    # the line before is text or a font macro, in filled text
my $tag_next = 0;             # the line is the tag of a .TP, which ends with its line
for my $line (@lines) {
    $filled = 0 if $line =~ /^\.nf\b/;
    $filled = 1 if $line =~ /^\.fi\b/;
    $section = $1 if $line =~ /^\.SH\s+"?([^"]*)"?/;
    my $prose = $filled && $section ne '名前' && $line !~ /^\.(?:TH|SH|SS|\\")/;
    $line =~ s/($japanese)(?=($japanese))/breakable($1, $2) ? "$1\\:" : $1/ge if $prose;
    my $text = $prose && $line !~ /^[.']/;
    my $fillable = $text || ($prose && $line =~ /^\.$font_macro\s/);
    if ($previous_fillable && $fillable && spaceless(last_shown($ready[-1]), first_shown($line))) {
        my $break = breakable(last_shown($ready[-1]), first_shown($line)) ? '\\:' : '';
        if ($text && $ready[-1] !~ /^[.']/) {
            $ready[-1] .= $break . $line;
        } else {
            # Inside a quoted last argument, or it would be an argument of its own.
            $ready[-1] =~ s/("?)$/$break\\c$1/;
            push(@ready, $line);
        }
    } else {
        push(@ready, $line);
    }
    $previous_fillable = $fillable && !$tag_next;
    $tag_next = $line =~ /^\.TP\b/;
}

open(my $ready, '>:encoding(UTF-8)', $out) or die "$out: $!\n";
print $ready "$_\n" for @ready;
close($ready) or die "$out: $!\n";

# Whether a line may break between the characters BEFORE and AFTER, at
# least one of them Japanese.
sub breakable {
    my ($before, $after) = @_;
    return $after !~ $no_line_start && $before !~ $no_line_end;
}

# Whether two lines that end in BEFORE and start with AFTER meet with no
# space between them.
sub spaceless {
    my ($before, $after) = @_;
    return 0 unless length($before) && length($after);
    return ($before =~ $japanese && $after =~ $japanese) || $before =~ $punctuation || $after =~ $punctuation;
}

# The first and the last character that a text line or a font macro's
# arguments show: quotes, font changes and the macro's name left out.
sub shown {
    my ($line) = @_;
    $line =~ s/^\.$font_macro\s+//;
    $line =~ s/\\f(?:\[[^]]*\]|\(..|.)//g;
    $line =~ s/\\[:&]//g;
    $line =~ s/"//g;
    $line =~ s/^\s+|\s+$//g;
    return $line;
}
sub first_shown { return substr(shown($_[0]), 0, 1); }
sub last_shown { return substr(shown($_[0]), -1); }
